#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "ByteStrings.h"
#include "InstructionSets.h"
#include "KanjiText.h"
#include "TempDir.h"
#include "Utf8FileCodec.h"

namespace {

using kanji::Utf8FileCodec;

std::string Fixture(const std::string& name) { return ReadFileBytes(std::string(KB_TEST_DATA_DIR) + "/" + name); }

// The stand-in a byte that is no UTF-8 becomes in the control, as UTF-8.
std::string StandIn(unsigned byte) {
  const char32_t cp = Utf8FileCodec::kRawByteBase + byte;
  std::string utf8;
  utf8 += static_cast<char>(0xE0 | cp >> 12);
  utf8 += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
  utf8 += static_cast<char>(0x80 | (cp & 0x3F));
  return utf8;
}

struct FormCase {
  const char* name;
  std::string bytes;
  bool wellFormed;
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class Utf8WellFormed : public testing::TestWithParam<FormCase> {};

// Alone and at every place around the vector check's 32-byte blocks and
// 128-byte groups, followed by nothing, by a short tail, and by a whole
// group of ASCII (the suite runs again at each instruction-set level).
TEST_P(Utf8WellFormed, JudgesTheBytes) {
  const FormCase& c = GetParam();
  EXPECT_EQ(Utf8FileCodec::IsWellFormed(c.bytes), c.wellFormed) << ToHex(c.bytes);
  for (std::size_t before = 0; before <= 134; ++before) {
    for (std::size_t after : {std::size_t{0}, std::size_t{1}, std::size_t{3}, std::size_t{40}, std::size_t{200}}) {
      const std::string text = std::string(before, 'a') + c.bytes + std::string(after, 'b');
      ASSERT_EQ(Utf8FileCodec::IsWellFormed(text), c.wellFormed) << before << " before, " << after << " after";
      const bool high = std::any_of(text.begin(), text.end(), [](char b) { return (b & 0x80) != 0; });
      ASSERT_EQ(Utf8FileCodec::LooksLikeUtf8(text), c.wellFormed && high);
    }
  }
}

class Utf8CheckLevels : public InstructionSetTest {};
INSTANTIATE_TEST_SUITE_P(InstructionSets, Utf8CheckLevels, kAllInstructionSets, InstructionSetName);

// The check at each level agrees with the decoder, which judges every
// sequence on its own, byte at a time: well-formed text without stand-ins
// is exactly the text Decode copies unchanged.
TEST_P(Utf8CheckLevels, AgreesWithTheDecoderOnDamagedProse) {
  std::mt19937 random(32);
  const std::string prose = Fixture("utf8_prose.txt");
  for (int round = 0; round < 3000; ++round) {
    std::size_t start = std::uniform_int_distribution<std::size_t>(0, prose.size() - 1)(random);
    std::string text = prose.substr(start, std::uniform_int_distribution<std::size_t>(0, 200)(random));
    if (round % 2 && !text.empty()) {
      text[std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random)] =
          static_cast<char>(std::uniform_int_distribution<int>(0x80, 0xFF)(random));
    }
    if (text.find("\xEF\x9E") != std::string::npos || text.find("\xEF\x9F") != std::string::npos) continue;
    ASSERT_EQ(Utf8FileCodec::IsWellFormed(text), Utf8FileCodec::Decode(text) == text) << ToHex(text);
  }
}

// In text with a multi-byte character in every block, every group of four
// blocks is checked in full and its errors are gathered before they are
// tested: one damaged byte anywhere, in the last block of a group or in
// the tail after the last whole group, still fails the check.
TEST_P(Utf8CheckLevels, ErrorInTheLastBlockOfAGroupOrInTheTailIsFound) {
  std::string hiragana;
  for (int i = 0; i < 150; ++i) hiragana += Hex("E3 81 82");  // 450 bytes: three groups and a tail
  ASSERT_TRUE(Utf8FileCodec::IsWellFormed(hiragana));
  for (std::size_t at = 0; at < hiragana.size(); ++at) {
    for (char damage : {'\xFF', 'A'}) {
      std::string text = hiragana;
      text[at] = damage;
      ASSERT_FALSE(Utf8FileCodec::IsWellFormed(text)) << "byte " << at << " damaged to " << ToHex(std::string(1, damage));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Utf8WellFormed,
    testing::Values(FormCase{"Empty", "", true}, FormCase{"Ascii", "abc\r\n", true},
                    FormCase{"Nul", Hex("61 00 62"), true}, FormCase{"TwoBytes", Hex("C3 A9"), true},
                    FormCase{"Hiragana", Hex("E3 81 82"), true}, FormCase{"Emoji", Hex("F0 9F 98 80"), true},
                    FormCase{"LastCodePoint", Hex("F4 8F BF BF"), true},
                    FormCase{"PastLastCodePoint", Hex("F4 90 80 80"), false},
                    FormCase{"StrayContinuation", Hex("61 80 62"), false},
                    FormCase{"CutShortAtEnd", Hex("61 E3 81"), false},
                    FormCase{"CutShortBeforeAscii", Hex("E3 81 61"), false},
                    FormCase{"OverlongSlash", Hex("C0 AF"), false}, FormCase{"OverlongThree", Hex("E0 80 AF"), false},
                    FormCase{"OverlongFour", Hex("F0 80 80 AF"), false},
                    FormCase{"EncodedSurrogate", Hex("ED A0 80"), false}, FormCase{"ByteFF", Hex("FF"), false},
                    FormCase{"ShiftJisHiragana", Hex("82 A0 82 A2"), false},
                    FormCase{"EucHiragana", Hex("A4 A2 A4 A4"), false}));

struct FileCodeCase {
  const char* fixture;
  KanjiCode expected;
};

void PrintTo(const FileCodeCase& c, std::ostream* os) { *os << c.fixture; }

class FileCodeDetection : public testing::TestWithParam<FileCodeCase> {};

// No Shift-JIS, EUC or JIS fixture may be taken for UTF-8; the others keep
// the answer of the older detection.
TEST_P(FileCodeDetection, DecidesTheFixturesCode) {
  const std::string bytes = Fixture(GetParam().fixture);
  EXPECT_EQ(kanji::DetectFileCode(bytes), GetParam().expected);
  if (GetParam().expected != KanjiCode::Utf8) {
    EXPECT_EQ(kanji::DetectFileCode(bytes), kanji::DetectCode(bytes));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FileCodeDetection,
    testing::Values(FileCodeCase{"sjis_prose.txt", KanjiCode::ShiftJis}, FileCodeCase{"euc_prose.txt", KanjiCode::Euc},
                    FileCodeCase{"jis_prose.txt", KanjiCode::Jis}, FileCodeCase{"jis_with_nul.txt", KanjiCode::Jis},
                    FileCodeCase{"ascii.txt", KanjiCode::None}, FileCodeCase{"empty.txt", KanjiCode::None},
                    FileCodeCase{"halfwidth_katakana.txt", KanjiCode::ShiftJis},
                    FileCodeCase{"mixed_line_endings.txt", KanjiCode::ShiftJis},
                    FileCodeCase{"invalid_bytes.txt", KanjiCode::ShiftJis},
                    FileCodeCase{"nul_bytes.txt", kanji::DetectCode(Fixture("nul_bytes.txt"))},
                    FileCodeCase{"utf8_prose.txt", KanjiCode::Utf8}, FileCodeCase{"utf8_bom_prose.txt", KanjiCode::Utf8},
                    FileCodeCase{"utf8_damaged.txt", KanjiCode::ShiftJis}));

TEST(FileCodeDetection, ByteOrderMarkAloneIsUtf8) {
  EXPECT_EQ(kanji::DetectFileCode(Hex("EF BB BF")), KanjiCode::Utf8);
  EXPECT_EQ(kanji::DetectFileCode(Hex("EF BB BF 82 A0")), KanjiCode::Utf8);  // even before no UTF-8
}

TEST(FileCodeDetection, JisEscapesStayJisWhateverElseIsValid) {
  EXPECT_EQ(kanji::DetectFileCode(Hex("1B 24 42 30 21 1B 28 42")), KanjiCode::Jis);
}

TEST(FileCodeDetection, OneInvalidByteMakesUtf8ProseNoUtf8) {
  std::string prose = Fixture("utf8_prose.txt");
  prose.insert(prose.size() / 2, 1, '\xFF');
  EXPECT_NE(kanji::DetectFileCode(prose), KanjiCode::Utf8);
  EXPECT_EQ(kanji::DetectFileCode(prose), kanji::DetectCode(prose));
}

// A short Shift-JIS text can be well-formed UTF-8 by chance ("ﾃｽ" is C3 BD):
// that is the rule's known price, pinned here so a change to it is seen.
TEST(FileCodeDetection, ShortShiftJisThatHappensToBeUtf8IsTakenForUtf8) {
  EXPECT_EQ(kanji::DetectFileCode(Hex("C3 BD")), KanjiCode::Utf8);
}

struct RoundTripCase {
  const char* name;
  std::string bytes;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class Utf8RoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(Utf8RoundTrip, EncodeGivesBackEveryByte) {
  const std::string& bytes = GetParam().bytes;
  const std::string text = Utf8FileCodec::Decode(bytes);
  EXPECT_TRUE(Utf8FileCodec::IsWellFormed(text)) << ToHex(text);
  EXPECT_EQ(ToHex(Utf8FileCodec::Encode(text)), ToHex(bytes));
  EXPECT_EQ(Utf8FileCodec::EncodedLength(text), bytes.size());
  EXPECT_EQ(Utf8FileCodec::DecodedLength(bytes), text.size());
}

INSTANTIATE_TEST_SUITE_P(
    Files, Utf8RoundTrip,
    testing::Values(RoundTripCase{"Prose", Fixture("utf8_prose.txt")},
                    RoundTripCase{"ProseWithByteOrderMark", Fixture("utf8_bom_prose.txt")},
                    RoundTripCase{"Damaged", Fixture("utf8_damaged.txt")},
                    RoundTripCase{"ShiftJisProse", Fixture("sjis_prose.txt")},
                    RoundTripCase{"EucProse", Fixture("euc_prose.txt")},
                    RoundTripCase{"EveryByteAlone", [] {
                                    std::string all;
                                    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
                                    return all;
                                  }()},
                    RoundTripCase{"LiteralStandInsAtTheEnd", Hex("EF 9E 80 EF 9F BF")},
                    RoundTripCase{"LeadByteLast", Hex("61 F0 9F 98")}));

TEST(Utf8FileCodec, WellFormedTextIsTakenAsItIs) {
  const std::string prose = Fixture("utf8_prose.txt");
  EXPECT_EQ(Utf8FileCodec::Decode(prose), prose);
}

TEST(Utf8FileCodec, EachInvalidByteIsAStandInOfItsOwn) {
  EXPECT_EQ(ToHex(Utf8FileCodec::Decode(Hex("E3 81 61"))), ToHex(StandIn(0xE3) + StandIn(0x81) + "a"));
  EXPECT_EQ(ToHex(Utf8FileCodec::Decode(Hex("ED A0 80"))), ToHex(StandIn(0xED) + StandIn(0xA0) + StandIn(0x80)));
  // A byte that is no UTF-8 never swallows a well-formed neighbour.
  EXPECT_EQ(ToHex(Utf8FileCodec::Decode(Hex("80 E3 81 82"))), ToHex(StandIn(0x80) + Hex("E3 81 82")));
}

TEST(Utf8FileCodec, LiteralStandInsInTheFileAreHeldAsTheirBytes) {
  EXPECT_EQ(ToHex(Utf8FileCodec::Decode(Hex("EF 9F A9"))), ToHex(StandIn(0xEF) + StandIn(0x9F) + StandIn(0xA9)));
  // Their neighbours in the private-use area are characters like any other.
  EXPECT_EQ(ToHex(Utf8FileCodec::Decode(Hex("EF 9E 7F"))), ToHex(StandIn(0xEF) + StandIn(0x9E) + "\x7F"));
  EXPECT_EQ(Utf8FileCodec::Decode(Hex("EF 9D BF")), Hex("EF 9D BF"));
}

// Pieces cut anywhere, a multi-byte sequence included, join to the whole.
TEST(Utf8FileCodec, PiecesJoinToTheWholeWhereverTheyAreCut) {
  const std::string bytes = Fixture("utf8_damaged.txt") + Fixture("utf8_prose.txt");
  const std::string whole = Utf8FileCodec::Decode(bytes);
  std::mt19937 random(16);
  for (int round = 0; round < 200; ++round) {
    std::string joined, carried;
    std::string out(Utf8FileCodec::DecodedBound(bytes.size() + 4), '\0');
    for (std::size_t pos = 0; pos < bytes.size();) {
      std::size_t length = std::uniform_int_distribution<std::size_t>(1, 9)(random);
      std::string piece = carried + bytes.substr(pos, length);
      pos += length;
      std::size_t consumed = 0;
      std::size_t written = Utf8FileCodec::DecodeChunk(piece, pos >= bytes.size(), out.data(), &consumed);
      joined.append(out, 0, written);
      carried = piece.substr(consumed);
      ASSERT_LE(carried.size(), 3u);
    }
    ASSERT_TRUE(carried.empty());
    ASSERT_EQ(ToHex(joined), ToHex(whole)) << "round " << round;
  }
}

TEST(Utf8FileCodec, RandomBytesSurviveTheRoundTrip) {
  std::mt19937 random(5);
  for (int round = 0; round < 500; ++round) {
    std::string bytes(std::uniform_int_distribution<std::size_t>(0, 64)(random), '\0');
    // Mostly bytes of sequences, so that well-formed runs and broken ones mix.
    const char alphabet[] = "a\r\n\x00\x80\xBF\xC2\xC0\xE3\xED\xA0\xEF\x9E\x9F\xF0\xF4\x90\x8F\xFF";
    for (char& b : bytes) b = alphabet[std::uniform_int_distribution<std::size_t>(0, sizeof alphabet - 2)(random)];
    const std::string text = Utf8FileCodec::Decode(bytes);
    ASSERT_EQ(ToHex(Utf8FileCodec::Encode(text)), ToHex(bytes));
    ASSERT_TRUE(Utf8FileCodec::IsWellFormed(text));
  }
}

}  // namespace
