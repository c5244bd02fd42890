// Whether a file read in JIS or EUC comes back as it was: byte for byte for
// EUC, character for character in its mode for JIS.

#include "RoundTripCheck.h"

#include <gtest/gtest.h>

#include "ByteStrings.h"

namespace {

struct Case {
  const char* name;
  KanjiCode code;
  const char* file;   // hex
  const char* saved;  // hex
  long offset;        // of the first difference in the file; -1 for none
};

class RoundTrip : public testing::TestWithParam<Case> {};

TEST_P(RoundTrip, FindsTheFirstByteThatComesBackDifferent) {
  const Case& c = GetParam();
  std::optional<RoundTripDifference> difference = FindRoundTripDifference(Hex(c.file), Hex(c.saved), c.code);
  if (c.offset < 0) {
    EXPECT_FALSE(difference) << c.name << " at " << difference->fileOffset;
  } else {
    ASSERT_TRUE(difference) << c.name;
    EXPECT_EQ(difference->fileOffset, static_cast<std::size_t>(c.offset)) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundTrip,
    testing::Values(
        Case{"same EUC", KanjiCode::Euc, "A4 A2 0D 0A", "A4 A2 0D 0A", -1},
        Case{"Shift-JIS yen sign read as EUC", KanjiCode::Euc, "31 30 89 7E 20", "31 30 3F 3F 20", 2},
        Case{"EUC cut short", KanjiCode::Euc, "41 42 43", "41 42", 2},
        Case{"EUC grown", KanjiCode::Euc, "41", "41 42", 1},
        Case{"JIS with ESC $ B saved with ESC $ @", KanjiCode::Jis, "1B 24 42 30 21 1B 28 42", "1B 24 40 30 21 1B 28 4A",
             -1},
        Case{"JIS with escapes repeated at a line's end", KanjiCode::Jis,
             "1B 24 42 30 21 1B 28 42 0A 1B 28 42 61", "1B 24 40 30 21 1B 28 4A 0A 61", -1},
        // Read in another set: shown from the escape that chose it.
        Case{"JIS pair read as roman", KanjiCode::Jis, "1B 24 42 30 21 1B 28 42", "30 21", 0},
        Case{"JIS byte lost", KanjiCode::Jis, "61 62 1B 24 42 30 21", "61 1B 24 40 30 21", 1},
        Case{"JIS unknown escape kept as bytes", KanjiCode::Jis, "1B 24 28 44 61", "1B 24 28 44 61", -1}));

TEST(RoundTripDifference, ShowsAFewBytesOfBothSides) {
  std::optional<RoundTripDifference> difference =
      FindRoundTripDifference(Hex("70 89 7E 20 6F 6E"), Hex("70 3F 3F 20 6F 6E"), KanjiCode::Euc);
  ASSERT_TRUE(difference);
  EXPECT_EQ(ToHex(difference->fileBytes), ToHex(Hex("89 7E 20 6F")));
  EXPECT_EQ(ToHex(difference->savedBytes), ToHex(Hex("3F 3F 20 6F")));
}

// Half-width katakana (ESC ( I) come back as the same bytes in ASCII: the
// bytes alone would read "36 40 becomes 36 40".
TEST(RoundTripDifference, BytesReadInAnotherSetAreShownFromTheirEscapes) {
  std::optional<RoundTripDifference> difference = FindRoundTripDifference(
      Hex("23 33 1B 28 49 36 40 36 45 1B 28 42"), Hex("23 33 1B 28 42 36 40 36 45"), KanjiCode::Jis);
  ASSERT_TRUE(difference);
  EXPECT_EQ(difference->fileOffset, 2u);
  EXPECT_EQ(ToHex(difference->fileBytes), ToHex(Hex("1B 28 49 36")));
  EXPECT_EQ(ToHex(difference->savedBytes), ToHex(Hex("1B 28 42 36")));
}

}  // namespace
