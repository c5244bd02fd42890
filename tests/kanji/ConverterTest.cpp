// The conversion routines on hand-picked byte strings, through the
// NUL-terminated interface the rest of the program was written against.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ByteStrings.h"
#include "CKanjiConverter.h"

namespace {

using Routine = std::function<unsigned char*(unsigned char*, const unsigned char*)>;

struct Direction {
  const char* name;
  Routine routine;
  std::size_t (*bound)(std::size_t);
};

const CKanjiConverter kConverter;

Direction SjisToJis() {
  return {"SjisToJis", [](auto o, auto i) { return kConverter.SjisToJis(o, i); }, SjisToJisBound};
}
Direction EucToJis() {
  return {"EucToJis", [](auto o, auto i) { return kConverter.EucToJis(o, i); }, EucToJisBound};
}
Direction JisToSjis() {
  return {"JisToSjis", [](auto o, auto i) { return kConverter.JisToSjis(o, i); }, JisToSjisBound};
}
Direction JisToEuc() {
  return {"JisToEuc", [](auto o, auto i) { return kConverter.JisToEuc(o, i); }, JisToEucBound};
}
Direction LineEnd(int type) {
  return {"ConvertLineEnd",
          [type](auto o, auto i) { return kConverter.ConvertLineEnd(o, i, type); },
          ConvertLineEndBound};
}

// Runs a routine on `input` in a buffer of exactly its length plus the
// terminator (so an over-read is caught under AddressSanitizer) and returns
// the output before the terminator. The output buffer is exactly the bound.
std::string Convert(const Direction& d, const std::string& input) {
  std::vector<unsigned char> in(input.begin(), input.end());
  in.push_back(0);
  std::vector<unsigned char> out(d.bound(input.size()), 0xEE);
  unsigned char* end = d.routine(out.data(), in.data());
  EXPECT_EQ(*end, 0) << d.name << ": the returned position is not the terminator";
  return std::string(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(end - out.data()));
}

struct ConversionCase {
  const char* name;
  Direction direction;
  std::string input;
  std::string expected;
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

class ConversionCases : public testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionCases, WritesTheExpectedBytes) {
  const ConversionCase& c = GetParam();
  EXPECT_EQ(ToHex(Convert(c.direction, c.input)), ToHex(c.expected)) << c.direction.name;
}

const std::string kIn = Hex("1B 24 40");
const std::string kOut = Hex("1B 28 4A");

INSTANTIATE_TEST_SUITE_P(
    Routines, ConversionCases,
    testing::Values(
        ConversionCase{"EmptySjisToJis", SjisToJis(), "", ""},
        ConversionCase{"EmptyEucToJis", EucToJis(), "", ""},
        ConversionCase{"EmptyJisToSjis", JisToSjis(), "", ""},
        ConversionCase{"EmptyJisToEuc", JisToEuc(), "", ""},
        ConversionCase{"EmptyLineEnd", LineEnd(3), "", ""},
        ConversionCase{"FirstLevelOneKanji", SjisToJis(), Hex("88 9F"), kIn + Hex("30 21") + kOut},
        ConversionCase{"FirstLevelOneKanjiBack", JisToSjis(), Hex("1B 24 42 30 21 1B 28 42"),
                       Hex("88 9F")},
        ConversionCase{"IdeographicSpace", SjisToJis(), Hex("81 40"), kIn + Hex("21 21") + kOut},
        ConversionCase{"HiraganaA", SjisToJis(), Hex("82 A0"), kIn + Hex("24 22") + kOut},
        ConversionCase{"LeadE0", SjisToJis(), Hex("E0 40"), kIn + Hex("5F 21") + kOut},
        ConversionCase{"IdeographicSpaceBack", JisToSjis(), kIn + Hex("21 21") + kOut, Hex("81 40")},
        ConversionCase{"HiraganaABack", JisToSjis(), kIn + Hex("24 22") + kOut, Hex("82 A0")},
        ConversionCase{"LeadE0Back", JisToSjis(), kIn + Hex("5F 21") + kOut, Hex("E0 40")},
        ConversionCase{"EscapesAtEverySwitch", SjisToJis(), "a" + Hex("82 A0") + "b",
                       "a" + kIn + Hex("24 22") + kOut + "b"},
        ConversionCase{"NoFinalKanjiOutInOneByteMode", SjisToJis(), Hex("82 A0") + "b",
                       kIn + Hex("24 22") + kOut + "b"},
        ConversionCase{"EucKanji", EucToJis(), Hex("B0 A1"), kIn + Hex("30 21") + kOut},
        ConversionCase{"EucKanjiBack", JisToEuc(), Hex("1B 24 42 30 21"), Hex("B0 A1")},
        ConversionCase{"EucHalfWidthKatakanaBecomesShiftOut", EucToJis(), Hex("8E B1"),
                       kIn + Hex("0E 31") + kOut},
        ConversionCase{"EucThreeByteCharacterSplitsIntoPairs", EucToJis(), Hex("8F B0 A1 41"),
                       kIn + Hex("0F 30 21 C1") + kOut},
        ConversionCase{"OtherEscapePassesToSjis", JisToSjis(), Hex("1B 26 40 41"), Hex("1B 26 40 41")},
        ConversionCase{"OtherEscapeKeepsTwoByteMode", JisToSjis(), Hex("1B 24 42 1B 2E 41 30 21"),
                       Hex("1B 2E 41 88 9F")},
        ConversionCase{"OtherEscapePassesToEuc", JisToEuc(), Hex("1B 26 40 41"), Hex("1B 26 40 41")},
        ConversionCase{"KatakanaSetIsOneByteMode", JisToSjis(), Hex("1B 24 42 30 21 1B 28 49 31 32"),
                       Hex("88 9F 31 32")},
        ConversionCase{"ShiftOutAndInMeanNothing", JisToSjis(), Hex("0E 31 0F"), Hex("0E 31 0F")},
        ConversionCase{"HalfWidthKatakanaSwallowsNextLetter", SjisToJis(), Hex("B1") + "A",
                       kIn + Hex("01 22") + kOut},
        ConversionCase{"LineEndInTwoByteModeIsPaired", JisToSjis(), Hex("1B 24 42 0D 0A"), Hex("77 29")},
        ConversionCase{"ControlBytesPairedWithSignedShift", JisToSjis(), Hex("1B 24 42 01 41"),
                       Hex("71 60")},
        ConversionCase{"SecondByteWrapsModulo256", JisToSjis(), Hex("1B 24 42 22 C0"), Hex("81 3D")},
        ConversionCase{"LineEndsToCrLf", LineEnd(3), Hex("61 0D 62 0A 63 0D 0A"),
                       Hex("61 0D 0A 62 0D 0A 63 0D 0A")},
        ConversionCase{"LineEndsToCr", LineEnd(1), Hex("61 0D 62 0A 63 0D 0A"), Hex("61 0D 62 0D 63 0D")},
        ConversionCase{"LineEndsToLf", LineEnd(2), Hex("61 0D 62 0A 63 0D 0A"), Hex("61 0A 62 0A 63 0A")},
        ConversionCase{"LineEndTypeZeroCopies", LineEnd(0), Hex("61 0D 62 0A 63 0D 0A"),
                       Hex("61 0D 62 0A 63 0D 0A")},
        ConversionCase{"LineEndTypeFourCopies", LineEnd(4), Hex("61 0D 0A"), Hex("61 0D 0A")},
        ConversionCase{"LfCrIsTwoLineEnds", LineEnd(3), Hex("0A 0D"), Hex("0D 0A 0D 0A")},
        // A text cut off inside a unit: what is left is written unchanged.
        ConversionCase{"SjisLeadByteLast", SjisToJis(), "a" + Hex("88"), "a" + Hex("88")},
        ConversionCase{"SjisLeadByteLastAfterKanji", SjisToJis(), Hex("88 9F 88"),
                       kIn + Hex("30 21") + kOut + Hex("88")},
        ConversionCase{"EucLeadByteLast", EucToJis(), Hex("B0 A1 B0"), kIn + Hex("30 21") + kOut + Hex("B0")},
        ConversionCase{"EscLast", JisToSjis(), "a" + Hex("1B"), "a" + Hex("1B")},
        ConversionCase{"EscDollarLast", JisToEuc(), "a" + Hex("1B 24"), "a" + Hex("1B 24")},
        ConversionCase{"LoneByteInTwoByteMode", JisToSjis(), Hex("1B 24 42 30 21 30"), Hex("88 9F 30")},
        ConversionCase{"LoneByteInTwoByteModeToEuc", JisToEuc(), Hex("1B 24 42 30"), Hex("30")},
        // The first 0x00 ends the text.
        ConversionCase{"NulEndsInput", SjisToJis(), "a" + Hex("00 82 A0"), "a"}),
    [](const testing::TestParamInfo<ConversionCase>& info) { return info.param.name; });

TEST(Converter, EscapesWrittenAreOnlyTheOldKanjiInAndRomanOut) {
  std::string jis = Convert(SjisToJis(), Hex("82 A0 41 88 9F 42 E0 40"));
  EXPECT_EQ(jis, kIn + Hex("24 22") + kOut + "A" + kIn + Hex("30 21") + kOut + "B" + kIn +
                     Hex("5F 21") + kOut);
}

// The output buffer is exactly the bound, so a bound too small shows under
// AddressSanitizer; the sizes pin how close the worst cases come to it.
TEST(Converter, WorstCasesComeWithinOneByteOfTheBound) {
  // One two-byte character alone: an escape in, the pair and an escape out,
  // eight bytes for two; with the terminator one byte short of 3n + 4.
  std::string lone = Convert(SjisToJis(), Hex("82 61"));
  EXPECT_EQ(ToHex(lone), ToHex(kIn + Hex("23 42") + kOut));  // Ｂ
  EXPECT_EQ(lone.size() + 1 + 1, SjisToJisBound(2));
  // One-byte and two-byte characters alternating: an escape at every switch,
  // three bytes out for every byte in.
  std::string input;
  for (int i = 0; i < 50; ++i) input += "a" + Hex("82 A0");
  std::string jis = Convert(SjisToJis(), input);
  EXPECT_EQ(jis.size(), 3 * input.size());
  EXPECT_EQ(jis.size() + 1 + 3, SjisToJisBound(input.size()));
}

}  // namespace
