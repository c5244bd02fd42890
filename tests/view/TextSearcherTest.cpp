// The searcher on UTF-8 text: exact, case-blind, whole-word and regular
// expression searches in both directions, and raw bytes never matched.

#include "TextSearcher.h"

#include <gtest/gtest.h>

#include <string>

#include "ByteStrings.h"
#include "SecondForms.h"
#include "ShiftJisCodec.h"

namespace {

std::string U(const char* utf8) { return utf8; }
QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Offsets of every match, searching forward from the start.
std::vector<std::size_t> Starts(const TextSearcher& searcher, std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t position = 0; auto match = searcher.FindForward(text, position);) {
    starts.push_back(match->start);
    position = match->start + 1;
    while (position < text.size() && (static_cast<unsigned char>(text[position]) & 0xC0) == 0x80) ++position;
  }
  return starts;
}

SearchOptions Options(bool matchCase, bool wholeWord, bool regularExpression) {
  return {matchCase, wholeWord, regularExpression};
}

struct Case {
  const char* name;
  const char* text;
  const char* pattern;
  SearchOptions options;
  std::vector<std::size_t> starts;
};

class SearchCases : public testing::TestWithParam<Case> {};

TEST_P(SearchCases, FindsExactlyTheseMatchesForwardAndTheLastBackward) {
  const Case& c = GetParam();
  TextSearcher searcher(Q(c.pattern), c.options);
  ASSERT_TRUE(searcher.IsValid()) << searcher.Error().toStdString();
  std::string text = c.text;
  EXPECT_EQ(Starts(searcher, text), c.starts);
  auto last = searcher.FindBackward(text, text.size() + 1);
  std::optional<std::size_t> lastStart;
  if (last) lastStart = last->start;
  EXPECT_EQ(lastStart, c.starts.empty() ? std::nullopt : std::optional(c.starts.back()));
}

// Offsets are UTF-8 bytes: Japanese characters are three each.
INSTANTIATE_TEST_SUITE_P(
    TextSearcher, SearchCases,
    testing::Values(
        Case{"JapaneseExact", "今日は晴れ。明日も晴れ。", "晴れ", Options(true, false, false), {9, 27}},
        Case{"CaseBlindAscii", "Qt qt QT", "qt", Options(false, false, false), {0, 3, 6}},
        Case{"CaseMatters", "Qt qt QT", "qt", Options(true, false, false), {3}},
        Case{"CaseBlindFullWidth", "ＱＴとｑｔ", "ｑｔ", Options(false, false, false), {0, 9}},
        Case{"CaseBlindJapanese", "今日は晴れ", "晴れ", Options(false, false, false), {9}},
        Case{"WholeWordLatin", "cat concat cat_x cat.", "cat", Options(true, true, false), {0, 17}},
        Case{"WholeWordScriptsPartWords", "漢字かな漢字の", "漢字", Options(true, true, false), {0, 12}},
        Case{"WholeWordInsideKanji", "大漢字", "漢字", Options(true, true, false), {}},
        Case{"WholeWordKatakanaRun", "カタカナとカナ", "カナ", Options(true, true, false), {15}},
        Case{"Overlapping", "aaa", "aa", Options(true, false, false), {0, 1}},
        Case{"RegexDigits", "a1 b22 c333", "\\d{2,}", Options(true, false, true), {4, 8, 9}},
        Case{"RegexLineStartsAfterEveryLineEnding", "ab\r\ncd\nef\rg", "^", Options(true, false, true), {0, 4, 7, 10}},
        Case{"RegexCaseBlindWholeWord", "Cat cats CAT", "c.t", Options(false, true, true), {0, 9}},
        Case{"RegexJapaneseClass", "あいうアイウ", "\\p{Katakana}+", Options(true, false, true), {9, 12, 15}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(TextSearcher, ANulInTheTextDoesNotEndIt) {
  std::string text("a\0b\0b", 5);
  TextSearcher searcher(Q("b"), Options(true, false, false));
  EXPECT_EQ(Starts(searcher, text), (std::vector<std::size_t>{2, 4}));
  TextSearcher regex(Q("b$"), Options(true, false, true));
  EXPECT_EQ(Starts(regex, text), (std::vector<std::size_t>{4}));
}

TEST(TextSearcher, BackwardFindsTheLastMatchStartingBeforeThePosition) {
  std::string text = "abcabcabc";
  TextSearcher searcher(Q("abc"), Options(true, false, false));
  EXPECT_EQ(searcher.FindBackward(text, 6)->start, 3u);
  EXPECT_EQ(searcher.FindBackward(text, 4)->start, 3u);
  EXPECT_EQ(searcher.FindBackward(text, 3)->start, 0u);
  EXPECT_FALSE(searcher.FindBackward(text, 0));
  TextSearcher regex(Q("b."), Options(true, false, true));
  EXPECT_EQ(regex.FindBackward(text, 7)->start, 4u);
}

TEST(TextSearcher, BackwardRegularExpressionsReachFarBackThroughGrowingWindows) {
  std::string text = "needle" + std::string(1 << 20, 'x');
  TextSearcher regex(Q("ne+dle"), Options(true, false, true));
  auto match = regex.FindBackward(text, text.size());
  ASSERT_TRUE(match);
  EXPECT_EQ(match->start, 0u);
  EXPECT_EQ(match->end, 6u);
}

// Bytes that are no Shift-JIS character are held as U+F780-U+F7FF and shown
// as boxes naming the byte.
TEST(TextSearcher, RawBytesNeverMatchATypedCharacterNorARegularExpression) {
  std::string text = kanji::ShiftJisCodec::Decode("a\x80" "b\xA0\n\xFD");
  ASSERT_EQ(text.size(), 1 + 3 + 1 + 3 + 1 + 3u);
  for (bool regex : {false, true}) {
    for (bool matchCase : {false, true}) {
      SearchOptions options = Options(matchCase, false, regex);
      EXPECT_TRUE(Starts(TextSearcher(QString(QChar(0xF780)), options), text).empty());
      EXPECT_TRUE(Starts(TextSearcher(Q("x80"), options), text).empty());
      EXPECT_TRUE(Starts(TextSearcher(Q("a\uF780b"), options), text).empty());
    }
  }
  auto regex = [&](const char* pattern) { return Starts(TextSearcher(Q(pattern), Options(true, false, true)), text); };
  EXPECT_TRUE(regex("a.b").empty());
  EXPECT_EQ(regex("."), (std::vector<std::size_t>{0, 4}));
  EXPECT_EQ(regex("[^a]"), (std::vector<std::size_t>{4, 8}));
  EXPECT_TRUE(regex("b$").empty()) << "a raw byte is no line end";
  EXPECT_EQ(regex("\\W"), std::vector<std::size_t>{8}) << "only the line break";
}

// Searching for 纊 or ㈱ said 「…」が見つかりません while both were on screen:
// read in their second forms (0xED40, 0x878A), they are held as the
// private-use code points of those bytes. Each character now finds both of
// its forms, typed or in an expression, in both directions.
TEST(TextSearcher, ACharacterFindsEveryByteFormItWasReadIn) {
  for (const SecondForm& form : EverySecondForm()) {
    const std::string text = " " + form.utf8 + " " + kanji::ShiftJisCodec::Decode(form.bytes) + " ";
    const std::vector<std::size_t> both{1, 1 + form.utf8.size() + 1};
    const QString typed = QString::fromStdString(form.utf8);
    for (bool matchCase : {true, false}) {
      for (bool regex : {false, true}) {
        TextSearcher searcher(typed, Options(matchCase, false, regex));
        ASSERT_EQ(Starts(searcher, text), both) << ToHex(form.bytes) << " case " << matchCase << " regex " << regex;
        auto last = searcher.FindBackward(text, text.size());
        ASSERT_TRUE(last && last->start == both[1] && last->end == both[1] + 4) << ToHex(form.bytes);
      }
    }
    ASSERT_EQ(Starts(TextSearcher(typed, Options(true, true, false)), text), both)
        << "whole word " << ToHex(form.bytes);
  }
}

TEST(TextSearcher, SecondFormsInExpressionsClassesAndRanges) {
  using kanji::ShiftJisCodec;
  // 纊 of 0xED40 and of 0xFA5C; Ⅰ of 0xFA4A and of 0x8754; ⅰ of 0xEEEF.
  const std::string text = ShiftJisCodec::Decode("\xED\x40\xFA\x5C-\xFA\x4A\x87\x54-\xEE\xEF");
  auto starts = [&](const char* pattern, bool matchCase = true) {
    return Starts(TextSearcher(Q(pattern), Options(matchCase, false, true)), text);
  };
  const std::vector<std::size_t> kanji{0, 4}, numeral{8, 12};
  EXPECT_EQ(starts("纊"), kanji);
  EXPECT_EQ(starts("\\x{7E8A}"), kanji);
  EXPECT_EQ(starts("[纊]"), kanji);
  EXPECT_EQ(starts("[一-龠]"), kanji) << "a range takes in the forms of its characters";
  EXPECT_EQ(starts("纊{2}-"), std::vector<std::size_t>{0});
  EXPECT_EQ(starts("[^纊-]"), (std::vector<std::size_t>{8, 12, 16})) << "a negated class leaves them out";
  EXPECT_EQ(starts("\\Q纊\\E"), kanji);
  EXPECT_EQ(starts("Ⅰ"), numeral);
  const std::vector<std::size_t> bothCases{8, 12, 16};
  EXPECT_EQ(starts("Ⅰ", false), bothCases) << "ⅰ of 0xEEEF too, without regard to case";
  EXPECT_EQ(Starts(TextSearcher(Q("ⅰ"), Options(false, false, false)), text), bothCases);
  EXPECT_EQ(starts("(?#纊)Ⅰ"), numeral);
  EXPECT_FALSE(TextSearcher(Q("\\x{123456789abcdef}"), Options(true, false, true)).IsValid()) << "said, not thrown";
  // A second form in the pattern (pasted from the editor's own format)
  // stands for its character.
  const QString secondForm = QString::fromStdString(ShiftJisCodec::Decode("\xED\x40"));
  EXPECT_EQ(Starts(TextSearcher(secondForm, Options(true, false, false)), text), kanji);
}

TEST(TextSearcher, EmptyPatternsAndBrokenExpressionsAreInvalid) {
  EXPECT_FALSE(TextSearcher(QString(), Options(true, false, false)).IsValid());
  TextSearcher broken(Q("(晴れ"), Options(true, false, true));
  EXPECT_FALSE(broken.IsValid());
  EXPECT_FALSE(broken.Error().isEmpty());
  EXPECT_FALSE(broken.FindForward("(晴れ", 0));
  EXPECT_TRUE(TextSearcher(Q("(晴れ"), Options(true, false, false)).IsValid()) << "plain text may hold anything";
}

TEST(TextSearcher, MatchAtIsOnlyAMatchStartingThere) {
  std::string text = "xabx";
  TextSearcher searcher(Q("ab"), Options(true, false, false));
  EXPECT_TRUE(searcher.MatchAt(text, 1));
  EXPECT_FALSE(searcher.MatchAt(text, 0));
  TextSearcher regex(Q("a+b"), Options(true, false, true));
  EXPECT_EQ(regex.MatchAt(text, 1)->end, 3u);
  EXPECT_FALSE(regex.MatchAt(text, 0));
}

TEST(TextSearcher, ReplacementsExpandGroupsAndEscapesOnlyForRegularExpressions) {
  std::string text = "名前: 山田 太郎";
  TextSearcher regex(Q("(\\S+) (\\S+)$"), Options(true, false, true));
  auto match = regex.FindForward(text, 0);
  ASSERT_TRUE(match);
  EXPECT_EQ(regex.Replacement(text, *match, Q("\\2 $1\\t[\\0]\\n$$\\\\\\9")), U("太郎 山田\t[山田 太郎]\n$\\"));
  TextSearcher plain(Q("山田"), Options(true, false, false));
  auto plainMatch = plain.FindForward(text, 0);
  EXPECT_EQ(plain.Replacement(text, *plainMatch, Q("\\1$0")), U("\\1$0"));
}

}  // namespace
