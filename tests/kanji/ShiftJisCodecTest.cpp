#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ByteStrings.h"
#include "InstructionSets.h"
#include "SecondForms.h"
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
  // A lone lead at the end, and a lead before a byte that is no trail.
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("82")), "\xEF\x9E\x82");
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("85 0A")), "\xEF\x9E\x85\n");
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("9F 7F")), "\xEF\x9E\x9F\x7F");
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("E0 FD")), "\xEF\x9F\xA0\xEF\x9F\xBD");
}

// U+F0000 + the two bytes, four UTF-8 bytes.
std::string Held(unsigned pair) {
  char32_t c = ShiftJisCodec::kHeldPairBase + pair;
  return {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
          static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
}

// 87 90 8A BF 8E 9A ("≒漢字" with the NEC row-13 "≒") was read a byte at a
// time: 0x87 became a raw byte, its trail 0x90 led the next pair and the
// kanji after it were lost from view.
TEST_P(ShiftJisCodecTest, PairsCodePage932WritesElsewhereAreNotSplitIntoBytes) {
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("87 90 8A BF 8E 9A")), Held(0x8790) + "漢字");
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("ED 40 41")), Held(0xED40) + "A");
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("FA 54 FA 5B 82 A0")), Held(0xFA54) + Held(0xFA5B) + "あ");
  // An empty cell is held the same way, with no character to show.
  EXPECT_EQ(ShiftJisCodec::Decode(Hex("85 40 85 9F")), Held(0x8540) + Held(0x859F));
  EXPECT_EQ(ShiftJisCodec::DuplicateCharacter(ShiftJisCodec::kHeldPairBase + 0x8790), U'≒');
  EXPECT_EQ(ShiftJisCodec::DuplicateCharacter(ShiftJisCodec::kHeldPairBase + 0xFA54), U'￢');
  EXPECT_EQ(ShiftJisCodec::DuplicateCharacter(ShiftJisCodec::kHeldPairBase + 0xED40), U'\u7E8A');
  EXPECT_EQ(ShiftJisCodec::DuplicateCharacter(ShiftJisCodec::kHeldPairBase + 0x8540), 0u);
  EXPECT_EQ(ShiftJisCodec::DuplicateCharacter(ShiftJisCodec::kHeldPairBase + 0x889F), 0u);  // 亜 is no held pair
  for (const char* bytes : {"87 90", "ED 40", "EE FC", "FA 4A", "FA 53", "FA 54", "FA 5B", "85 40"}) {
    EXPECT_EQ(RoundTrip(Hex(bytes)), Hex(bytes));
    EXPECT_EQ(ShiftJisCodec::CharLengthAt(Hex(bytes), 0), 2u) << bytes;
  }
}

std::string EncodeStandard(const std::string& utf8) {
  std::string bytes(ShiftJisCodec::EncodedBound(utf8.size()), '\0');
  bytes.resize(ShiftJisCodec::EncodeInto(utf8, bytes.data(), nullptr, ShiftJisCodec::HeldPairs::Standard));
  return bytes;
}

// Saved as UTF-8, copied or searched for, the NEC and IBM duplicates came
// out as private-use code points (U+F8790 for the "≒" of 0x8790) that every
// other program shows as boxes. Their text for others is the character,
// which encodes to the standard form, and the character knows its forms.
TEST_P(ShiftJisCodecTest, SecondFormsGiveTheirCharacterToOthersAndTheStandardBytesToJisAndEuc) {
  const std::vector<SecondForm> forms = EverySecondForm();
  ASSERT_EQ(forms.size(), 398u);
  for (const SecondForm& form : forms) {
    const std::string text = ShiftJisCodec::Decode(form.bytes);
    ASSERT_TRUE(ShiftJisCodec::HoldsPairs(text)) << ToHex(form.bytes);
    ASSERT_EQ(ShiftJisCodec::StandardText("a" + text + "b"), "a" + form.utf8 + "b") << ToHex(form.bytes);
    ASSERT_NE(form.standard, form.bytes);
    ASSERT_EQ(ShiftJisCodec::Decode(form.standard), form.utf8) << "the standard form is the character itself";
    ASSERT_EQ(ShiftJisCodec::StandardPairs(form.bytes + "\x82\xa0"), form.standard + "\x82\xa0");
    ASSERT_EQ(EncodeStandard(text + "あ"), form.standard + "\x82\xa0");
    const std::vector<char32_t> second = ShiftJisCodec::SecondForms(form.character);
    ASSERT_NE(std::find(second.begin(), second.end(), form.held), second.end()) << ToHex(form.bytes);
  }
  EXPECT_EQ(ShiftJisCodec::SecondForms(U'∵'), (std::vector<char32_t>{ShiftJisCodec::kHeldPairBase + 0x879A,
                                                                       ShiftJisCodec::kHeldPairBase + 0xFA5B}));
  EXPECT_TRUE(ShiftJisCodec::SecondForms(U'亜').empty());
}

// An empty cell has no character: others get its two bytes, which every
// save writes back as they were.
TEST_P(ShiftJisCodecTest, EmptyCellsGiveTheirBytesNotAPrivateUseCodePoint) {
  for (const char* cell : {"85 40", "85 A1", "EF 9F", "87 7B"}) {
    const std::string text = ShiftJisCodec::Decode(Hex(cell));
    const std::string standard = ShiftJisCodec::StandardText(text);
    EXPECT_FALSE(ShiftJisCodec::HoldsPairs(standard)) << cell;
    EXPECT_EQ(ShiftJisCodec::Encode(standard).bytes, Hex(cell));
    EXPECT_EQ(ShiftJisCodec::StandardPairs(Hex(cell)), Hex(cell));
  }
  EXPECT_EQ(ShiftJisCodec::StandardText(ShiftJisCodec::Decode(Hex("85 40"))), "\xEF\x9E\x85@");
  EXPECT_EQ(ShiftJisCodec::StandardText("plain 漢字 \xEF\x9E\x80"), "plain 漢字 \xEF\x9E\x80");
  EXPECT_FALSE(ShiftJisCodec::HoldsPairs("plain 漢字 \xF0\x9F\x98\x80"));
}

// Pairs are found as the decoder finds them: the trail of one pair never
// leads the next.
TEST_P(ShiftJisCodecTest, StandardPairsWalkThePairsAsDecodeDoesAndMatchTheStandardEncoding) {
  EXPECT_EQ(ToHex(ShiftJisCodec::StandardPairs(Hex("88 87 90 41"))), "88 87 90 41");  // 88 87 is a pair
  EXPECT_EQ(ToHex(ShiftJisCodec::StandardPairs(Hex("41 87 90 87"))), "41 81 E0 87");
  EXPECT_EQ(ToHex(ShiftJisCodec::StandardPairs(Hex("B1 ED 40"))), "B1 FA 5C");  // ｱ is one byte
  std::mt19937 rng(7);
  const std::string alphabet = Hex("87 90 9A ED EE 40 FA 5B 5C 54 B1 41 80 FC");
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = RandomBytes(rng, rng() % 40, alphabet);
    const std::string text = ShiftJisCodec::Decode(bytes);
    ASSERT_EQ(ShiftJisCodec::Encode(ShiftJisCodec::StandardText(text)).bytes, ShiftJisCodec::StandardPairs(bytes))
        << ToHex(bytes);
    ASSERT_EQ(EncodeStandard(text), ShiftJisCodec::StandardPairs(bytes)) << ToHex(bytes);
  }
}

// 〜 − ‖ ¢ £ ¬ —, as input methods and most Linux text give them, were
// saved as "?": code page 932 reads their cells as other code points.
TEST_P(ShiftJisCodecTest, JisFormsOfWaveDashAndOthersAreSavedAsTheirCellsNotAsQuestionMarks) {
  const std::string typed = "〜−‖¢£¬—";
  kanji::EncodeResult result = ShiftJisCodec::Encode(typed);
  EXPECT_EQ(ToHex(result.bytes), "81 60 81 7C 81 61 81 91 81 92 81 CA 81 5C");
  EXPECT_TRUE(result.unencodable.empty());
  EXPECT_EQ(ShiftJisCodec::EncodedLength(typed), 14u);
  EXPECT_EQ(ShiftJisCodec::Decode(result.bytes), "～－∥￠￡￢―") << "decoding stays code page 932's";
  EXPECT_EQ(RoundTrip(result.bytes), result.bytes);
}

// Only the code points Decode gives for held pairs encode as pairs: the
// rest of the private-use plane is no Shift-JIS.
TEST_P(ShiftJisCodecTest, OtherPlaneFifteenCodePointsAreUnencodable) {
  for (unsigned pair : {0x889Fu, 0x8140u, 0x0041u, 0xFD40u, 0x817Fu, 0xFFFFu}) {
    std::string text = Held(pair);
    kanji::EncodeResult result = ShiftJisCodec::Encode(text);
    EXPECT_EQ(result.bytes, "?") << std::hex << pair;
    EXPECT_EQ(result.unencodable.size(), 1u);
    EXPECT_EQ(ShiftJisCodec::EncodedLength(text), 1u);
  }
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

// Cut at N bytes of Shift-JIS: the UTF-8 bytes kept, each character as
// long as Encode writes it, none halved.
TEST_P(ShiftJisCodecTest, PrefixFittingNeverEndsInHalfACharacter) {
  const struct {
    std::string utf8;
    std::size_t maxBytes;
    std::size_t kept;
  } cases[] = {
      {"abc", 3, 3},
      {"abc", 2, 2},
      {"aあ", 2, 1},                     // 61 82 A0: the pair does not fit
      {"aあ", 3, 4},
      {"ｱｲｳ", 2, 6},                      // half-width kana: one byte, three in UTF-8
      {"a\xEA\xB0\x80" "b", 2, 4},          // U+AC00 is written "?": one byte
      {"a\xF0\xA0\x80\x8B" "b", 2, 5},      // so is U+2000B, four in UTF-8
      {"a\xEF\x9E\x82" "b", 2, 4},          // the raw byte 0x82: one byte
      {"a\xF3\xB8\x9E\x90" "b", 2, 1},      // 87 90 held as its bytes: a pair
      {"a\xF3\xB8\x9E\x90" "b", 3, 5},
      {"", 0, 0},
      {"あ", 0, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShiftJisCodec::PrefixFitting(c.utf8, c.maxBytes), c.kept) << ToHex(c.utf8) << " in " << c.maxBytes;
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

std::size_t CodePointCount(const std::string& utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// A lead byte and whatever byte follows it decode alike whatever byte comes
// third: a pair never reaches into the next character, and a lead before a
// byte that is no trail leaves that byte to itself.
TEST(ShiftJisCodecUnits, EveryLeadAndFollowingByteDecodeAloneWhateverComesNext) {
  std::vector<std::string> alone(256);
  for (int x = 0; x < 256; ++x) alone[x] = ShiftJisCodec::Decode(std::string(1, static_cast<char>(x)));
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!ShiftJisCodec::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0; trail < 256; ++trail) {
      std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      std::string decoded = ShiftJisCodec::Decode(pair);
      bool isPair = ShiftJisCodec::IsTrailByte(static_cast<unsigned char>(trail));
      ASSERT_EQ(CodePointCount(decoded), isPair ? 1u : 2u) << ToHex(pair);
      for (int x = 0; x < 256; ++x)
        ASSERT_EQ(ShiftJisCodec::Decode(pair + static_cast<char>(x)), decoded + alone[x]) << ToHex(pair) << " " << x;
    }
  }
}

// Runs of kana and kanji, the encoder's fast path, broken by what must
// leave it: ASCII, two-byte sequences, unmapped, overlong, surrogate and
// cut sequences. Both instruction sets give the same bytes and reports.
TEST(ShiftJisCodecInstructionSets, ExtendedAndBaselineEncodeAlike) {
  static const char* const pieces[] = {"あ", "漢", "字", "ア", "、", "a", "\n", "é", "😀", "\xE4\xB8\x82",
                                       "\xE0\x91\x91", "\xED\xA0\x80", "\xE3\x81", "\xFF", "①", "ｱ"};
  kanji::AllowProcessorExtensions(true);
  if (!kanji::UseBmi2()) GTEST_SKIP() << "this processor has no BMI2: the encoder would be compared with itself";
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
