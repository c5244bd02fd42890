#include <gtest/gtest.h>

#include "ByteStrings.h"
#include "KanjiText.h"

namespace {

using kanji::FindUncarryable;
using kanji::FromShiftJis;
using kanji::TextSpan;
using kanji::ToShiftJis;

const std::string kIn = Hex("1B 24 40");
const std::string kOut = Hex("1B 28 4A");

TEST(KanjiText, ZeroByteWrittenByTheJisEncoderDoesNotEndTheText) {
  // Half-width katakana "ｰﾀ" (B0 C0) come out of the arithmetic as 00 42.
  std::string jis = FromShiftJis(Hex("B0 C0") + "tail", KanjiCode::Jis);
  EXPECT_EQ(ToHex(jis), ToHex(kIn + Hex("00 42") + kOut + "tail"));
}

TEST(KanjiText, EscapeWrittenAsFirstJisByteDoesNotShiftEucOutput) {
  // "ｾA" gives the JIS pair 1B 22; read back as an escape it would take the
  // next byte with it and the rest would go out of step.
  std::string euc = FromShiftJis(Hex("BE 41 82 A0") + "xyz", KanjiCode::Euc);
  EXPECT_EQ(ToHex(euc), ToHex(Hex("9B A2 A4 A2") + "xyz"));
}

TEST(KanjiText, EscapeSequenceInTheTextDoesNotSwitchEucOutputToTwoBytes) {
  std::string text = Hex("1B 24 42") + "ab" + Hex("82 A0");
  EXPECT_EQ(ToHex(FromShiftJis(text, KanjiCode::Euc)), ToHex(Hex("1B 24 42") + "ab" + Hex("A4 A2")));
  EXPECT_EQ(ToHex(ToShiftJis(FromShiftJis(text, KanjiCode::Euc), KanjiCode::Euc)), ToHex(text));
}

TEST(KanjiText, NulInTheTextIsConvertedLikeAnyOneByteCharacter) {
  std::string text = "a" + Hex("00 82 A0") + "b";
  EXPECT_EQ(ToHex(FromShiftJis(text, KanjiCode::Jis)), ToHex("a" + Hex("00") + kIn + Hex("24 22") + kOut + "b"));
  EXPECT_EQ(ToShiftJis(FromShiftJis(text, KanjiCode::Jis), KanjiCode::Jis), text);
  EXPECT_EQ(ToShiftJis(FromShiftJis(text, KanjiCode::Euc), KanjiCode::Euc), text);
}

TEST(KanjiText, CodesWithoutConversionReturnTheTextUnchanged) {
  std::string text = Hex("1B 24 42 82 A0 00 FF");
  for (KanjiCode code : {KanjiCode::None, KanjiCode::ShiftJis, KanjiCode::Auto, KanjiCodeFromInt(9)}) {
    EXPECT_EQ(FromShiftJis(text, code), text);
    EXPECT_EQ(ToShiftJis(text, code), text);
  }
}

TEST(KanjiText, LineEndsOnExplicitLength) {
  EXPECT_EQ(kanji::ConvertLineEnds(Hex("61 0D 00 0A 62"), 3), Hex("61 0D 0A 00 0D 0A 62"));
  EXPECT_EQ(kanji::ConvertLineEnds("", 2), "");
}

TEST(KanjiText, JisX0208AndAsciiAreCarriedByJisAndEuc) {
  std::string text = "Plain text\r\n" + Hex("82 A0 88 9F 81 40 EA A4 98 72 09");
  EXPECT_TRUE(FindUncarryable(text, KanjiCode::Jis).empty());
  EXPECT_TRUE(FindUncarryable(text, KanjiCode::Euc).empty());
}

TEST(KanjiText, UncarryableCharactersAreListedWhereTheyStand) {
  std::string text = "a" + Hex("B1") +      // half-width katakana at 1
                     Hex("87 40") +         // NEC circled digit one at 2
                     Hex("FB FC") +         // IBM extension at 4
                     Hex("F0 40") +         // user-defined at 6
                     Hex("ED 40") +         // NEC-selected IBM extension at 8, one pair
                     Hex("00 1B") +         // NUL at 10, ESC at 11
                     Hex("82 A0") +         // hiragana, carried
                     Hex("80");             // invalid byte at 14
  std::vector<TextSpan> expected = {{1, 1}, {2, 2}, {4, 2}, {6, 2}, {8, 2}, {10, 1}, {11, 1}, {14, 1}};
  EXPECT_EQ(FindUncarryable(text, KanjiCode::Jis), expected);
  EXPECT_EQ(FindUncarryable(text, KanjiCode::Euc), expected);
  EXPECT_TRUE(FindUncarryable(text, KanjiCode::ShiftJis).empty());
  EXPECT_TRUE(FindUncarryable(text, KanjiCode::None).empty());
  EXPECT_EQ(FindUncarryable(text, KanjiCode::Jis, 3).size(), 3u);
}

TEST(KanjiText, UncarryableCharactersAfterLongAsciiRunsAreFound) {
  std::string text = std::string(40, 'a') + Hex("1B") + std::string(20, 'b') + Hex("B1") +
                     std::string(33, 'c') + Hex("82 A0 00");
  std::vector<TextSpan> expected = {{40, 1}, {61, 1}, {97, 1}};
  EXPECT_EQ(FindUncarryable(text, KanjiCode::Euc), expected);
}

}  // namespace
