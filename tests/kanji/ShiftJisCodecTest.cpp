#include <gtest/gtest.h>

#include <random>

#include "ByteStrings.h"
#include "InstructionSets.h"
#include "ShiftJisCodec.h"

namespace {

using kanji::ShiftJisCodec;
using kanji::Unencodable;

class ShiftJisCodecTest : public InstructionSetTest {};
INSTANTIATE_TEST_SUITE_P(InstructionSets, ShiftJisCodecTest, kAllInstructionSets, InstructionSetName);

std::string RoundTrip(const std::string& bytes) {
  kanji::EncodeResult result = ShiftJisCodec::Encode(ShiftJisCodec::Decode(bytes));
  EXPECT_TRUE(result.unencodable.empty()) << ToHex(bytes);
  return result.bytes;
}

TEST_P(ShiftJisCodecTest, EverySingleByteAndEveryPairRoundTrips) {
  for (int a = 0; a < 256; ++a) {
    std::string one{static_cast<char>(a)};
    ASSERT_EQ(RoundTrip(one), one) << ToHex(one);
    for (int b = 0; b < 256; ++b) {
      std::string two{static_cast<char>(a), static_cast<char>(b)};
      ASSERT_EQ(RoundTrip(two), two) << ToHex(two);
    }
  }
}

TEST_P(ShiftJisCodecTest, RandomByteStringsRoundTrip) {
  std::mt19937 rng(23);
  const std::string leadHeavy = Hex("81 82 87 88 9F E0 EA ED EE F0 FA FC FD 80 A0 40 7F 5C 00");
  for (int round = 0; round < 20000; ++round) {
    std::string bytes = RandomBytes(rng, rng() % 100, round % 2 ? leadHeavy : std::string_view{});
    ASSERT_EQ(RoundTrip(bytes), bytes) << ToHex(bytes);
  }
}

struct KnownCharacter {
  std::string shiftJis;
  std::string utf8;
};

TEST_P(ShiftJisCodecTest, KnownCharactersDecodeToTheirCodePoints) {
  const KnownCharacter known[] = {
      {Hex("82 A0"), "あ"},          {Hex("8A BF"), "漢"}, {Hex("87 40"), "①"},
      {Hex("B1"), "ｱ"},              {Hex("FB FC"), "髙"}, {Hex("81 60"), "～"},
      {Hex("5C 7E"), "\\~"},         {Hex("F0 40"), "\xEE\x80\x80"},  // user-defined U+E000
      {Hex("00 0D 0A"), std::string("\0\r\n", 3)},
  };
  for (const KnownCharacter& k : known) {
    EXPECT_EQ(ShiftJisCodec::Decode(k.shiftJis), k.utf8) << ToHex(k.shiftJis);
    EXPECT_EQ(ShiftJisCodec::Encode(k.utf8).bytes, k.shiftJis) << k.utf8;
  }
}

TEST_P(ShiftJisCodecTest, BytesWithoutACharacterBecomeRawByteCodePoints) {
  // U+F780 + (byte - 0x80), three UTF-8 bytes each.
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("80")), "\xEF\x9E\x80");
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("FF")), "\xEF\x9F\xBF");
  // A lone lead at the end, and a lead whose pair is no character.
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("82")), "\xEF\x9E\x82");
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("85 40")), "\xEF\x9E\x85@");
  // Pairs code page 932 maps to a character that encodes elsewhere.
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("87 90")), "\xEF\x9E\x87\xEF\x9E\x90");
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("ED 40")), "\xEF\x9F\xAD@");
}

TEST_P(ShiftJisCodecTest, CharactersShiftJisCannotHoldAreReportedNotHidden) {
  std::string text = "a\xF0\x9F\x98\x80" "b\xC3\xA9" "c";  // a, U+1F600, b, é, c
  kanji::EncodeResult result = ShiftJisCodec::Encode(text);
  EXPECT_EQ(result.bytes, "a?b?c");
  std::vector<Unencodable> expected = {{1, U'\U0001F600'}, {6, U'é'}};
  EXPECT_EQ(result.unencodable, expected);
}

TEST_P(ShiftJisCodecTest, MalformedUtf8IsReportedByteByByte) {
  std::string text = "x\xE3\x81" "y\xFF\xED\xA0\x80";  // cut sequence, invalid byte, surrogate
  kanji::EncodeResult result = ShiftJisCodec::Encode(text);
  EXPECT_EQ(result.bytes, "x??y????");
  ASSERT_EQ(result.unencodable.size(), 6u);
  EXPECT_EQ(result.unencodable[0], (Unencodable{1, 0xFFFD}));
}

TEST_P(ShiftJisCodecTest, OverlongSequenceOfAMappedCharacterIsNotEncoded) {
  // E0 91 91 spells U+0451 (a Cyrillic letter code page 932 has) in three
  // bytes instead of two: malformed, so three unencodable bytes.
  kanji::EncodeResult result = ShiftJisCodec::Encode("\xE0\x91\x91x");
  EXPECT_EQ(result.bytes, "???x");
  EXPECT_EQ(ShiftJisCodec::EncodedLength("\xE0\x91\x91x"), 4u);
}

TEST_P(ShiftJisCodecTest, EncodedLengthMatchesEncode) {
  std::mt19937 rng(29);
  for (int round = 0; round < 5000; ++round) {
    std::string utf8 = ShiftJisCodec::Decode(RandomBytes(rng, rng() % 120));
    utf8 += "é😀";
    EXPECT_EQ(ShiftJisCodec::EncodedLength(utf8), ShiftJisCodec::Encode(utf8).bytes.size());
  }
}

TEST_P(ShiftJisCodecTest, PiecesDecodeToTheWhole) {
  std::mt19937 rng(31);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = RandomBytes(rng, rng() % 200);
    std::string joined;
    std::string buffer;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
      // Two bytes or more a piece, so each piece consumes at least one.
      std::size_t piece = std::min<std::size_t>(bytes.size() - pos, 2 + rng() % 16);
      buffer.resize(ShiftJisCodec::DecodedBound(piece));
      std::size_t consumed = 0;
      std::size_t written = ShiftJisCodec::DecodeChunk(std::string_view(bytes).substr(pos, piece),
                                                       pos + piece == bytes.size(), buffer.data(),
                                                       &consumed);
      ASSERT_GT(consumed, 0u);
      joined.append(buffer, 0, written);
      pos += consumed;
    }
    ASSERT_EQ(joined, ShiftJisCodec::Decode(bytes)) << ToHex(bytes);
  }
}

// Runs of kana and kanji, the encoder's fast path, broken by what must
// leave it: ASCII, two-byte sequences, unmapped, overlong, surrogate and
// cut sequences. Both instruction sets give the same bytes and reports.
TEST(ShiftJisCodecInstructionSets, ExtendedAndBaselineEncodeAlike) {
  static const char* const pieces[] = {"あ", "漢", "字", "ア", "、", "a", "\n", "é", "😀", "\xE4\xB8\x82",
                                       "\xE0\x91\x91", "\xED\xA0\x80", "\xE3\x81", "\xFF", "①", "ｱ"};
  std::mt19937 rng(31);
  for (int round = 0; round < 3000; ++round) {
    std::string utf8;
    for (int k = static_cast<int>(rng() % 60); k > 0; --k) utf8 += pieces[rng() % std::size(pieces)];
    kanji::AllowProcessorExtensions(true);
    kanji::EncodeResult extended = ShiftJisCodec::Encode(utf8);
    std::size_t extendedLength = ShiftJisCodec::EncodedLength(utf8);
    kanji::AllowProcessorExtensions(false);
    kanji::EncodeResult baseline = ShiftJisCodec::Encode(utf8);
    kanji::AllowProcessorExtensions(true);
    ASSERT_EQ(ToHex(extended.bytes), ToHex(baseline.bytes)) << ToHex(utf8);
    ASSERT_EQ(extended.unencodable, baseline.unencodable) << ToHex(utf8);
    ASSERT_EQ(extendedLength, baseline.bytes.size()) << ToHex(utf8);
  }
}

}  // namespace
