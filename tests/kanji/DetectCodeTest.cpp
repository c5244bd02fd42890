#include <gtest/gtest.h>

#include <random>

#include "ByteStrings.h"
#include "CKanjiConverter.h"
#include "KanjiText.h"
#include "reference/ReferenceConverter.h"

namespace {

struct DetectCase {
  const char* name;
  std::string bytes;
  KanjiCode expected;
};

void PrintTo(const DetectCase& c, std::ostream* os) { *os << c.name; }

class DetectCodeCases : public testing::TestWithParam<DetectCase> {};

TEST_P(DetectCodeCases, GivesTheExpectedCode) {
  const DetectCase& c = GetParam();
  EXPECT_EQ(kanji::DetectCode(c.bytes), c.expected) << ToHex(c.bytes);
  std::string terminated = c.bytes + '\0';
  EXPECT_EQ(CKanjiConverter().DetectCode(reinterpret_cast<const unsigned char*>(terminated.c_str())),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Detection, DetectCodeCases,
    testing::Values(
        DetectCase{"Empty", "", KanjiCode::None},
        DetectCase{"PlainAscii", "abc", KanjiCode::None},
        DetectCase{"OnlyKanjiOutEscapes", Hex("61 1B 28 42 62 1B 28 4A"), KanjiCode::None},
        DetectCase{"KanjiInAndOut", Hex("1B 24 42 30 21 1B 28 42"), KanjiCode::Jis},
        DetectCase{"LoneEscDollarIsEnough", Hex("61 1B 24 62"), KanjiCode::Jis},
        DetectCase{"OneHiraganaIsEuc", Hex("82 A0"), KanjiCode::Euc},
        DetectCase{"TwoHiraganaAreShiftJis", Hex("82 A0 82 A2"), KanjiCode::ShiftJis},
        DetectCase{"HighByteLast", Hex("61 62 A4"), KanjiCode::Euc},
        DetectCase{"EucWithHalfWidthKatakana", Hex("B0 A1 8E B1"), KanjiCode::ShiftJis},
        DetectCase{"ShiftJisHalfWidthKatakanaOnly", Hex("B1 B2 B3 DF"), KanjiCode::Euc},
        DetectCase{"JisThenHighByteDecidesByRest", Hex("1B 24 42 30 21 1B 28 42 82 A0 82 A2"),
                   KanjiCode::ShiftJis},
        DetectCase{"JisThenLoneHighByte", Hex("1B 24 42 30 21 1B 28 42 A4"), KanjiCode::Euc},
        DetectCase{"EscLastAfterKanjiIn", Hex("1B 24 42 21 21 1B"), KanjiCode::Jis},
        DetectCase{"EscLastAlone", Hex("61 1B"), KanjiCode::None},
        DetectCase{"HighByteAfterEscIsNotExamined", Hex("1B 88 61"), KanjiCode::None},
        DetectCase{"HighByteAfterAnEscThatIsSteppedOverIsExamined", Hex("61 1B 1B 88"), KanjiCode::Euc},
        DetectCase{"DollarAfterAnEscThatIsSteppedOverIsNoKanjiIn", Hex("1B 1B 24 42 61"), KanjiCode::None},
        DetectCase{"KanjiInAfterOtherEscapes", Hex("1B 28 42 61 1B 28 4A 1B 24 42 30 21"), KanjiCode::Jis},
        DetectCase{"BytesAfterNulIgnored", Hex("61 00 82 A0 82 A2"), KanjiCode::None},
        DetectCase{"NulStopsShiftJisScan", Hex("B0 A1 00 82 A0"), KanjiCode::Euc},
        DetectCase{"LeadingNul", Hex("00 1B 24 42"), KanjiCode::None},
        DetectCase{"EscapeAfterNulIgnored", Hex("61 00 1B 24 42"), KanjiCode::None},
        DetectCase{"LongAsciiThenShiftJis",
                   std::string(100, 'x') + Hex("88 9F 88 9F") + std::string(40, 'y'),
                   KanjiCode::ShiftJis},
        DetectCase{"LongEuc", std::string(33, 'x') + Hex("B0 A1 B0 A1") + std::string(70, 'y') +
                                  Hex("A4 A2"),
                   KanjiCode::Euc}),
    [](const testing::TestParamInfo<DetectCase>& info) { return info.param.name; });

TEST(DetectCode, AgreesWithPlainScanOnRandomTexts) {
  std::mt19937 rng(7);
  // Mostly 7-bit text with escapes, so every branch is taken often.
  std::string alphabet = "ab$(\x1b\x1b\x1b\x1b";
  alphabet += std::string("\x00\x80\x9f\xa0\xa4\xb0", 6);
  for (int round = 0; round < 20000; ++round) {
    // Some long enough for the scans' 64-byte windows.
    std::size_t length = rng() % (round % 4 == 3 ? 400 : 80);
    std::string text = RandomBytes(rng, length, round % 2 ? alphabet : std::string_view{});
    auto bytes = reinterpret_cast<const unsigned char*>(text.data());
    ASSERT_EQ(kanji::DetectCode(text), kanji::reference::DetectCode(bytes, text.size()))
        << ToHex(text);
  }
}

}  // namespace
