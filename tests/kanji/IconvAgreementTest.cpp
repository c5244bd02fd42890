// Every two-byte JIS X 0208 character that the C library's SHIFT_JIS
// converter knows: the arithmetic gives the same JIS bytes as its
// ISO-2022-JP output, and the character survives Shift-JIS -> EUC ->
// Shift-JIS both through the one-pass chains and the two-step ones.

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

#include "ByteStrings.h"
#include "KanjiText.h"
#include "ShiftJisCodec.h"
#include "reference/ReferenceConverter.h"

namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(std::string input) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char out[64];
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* o = out;
    std::size_t outLeft = sizeof out;
    if (iconv(cd_, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    if (iconv(cd_, nullptr, nullptr, &o, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    return std::string(out, o);
  }

 private:
  iconv_t cd_;
};

std::string Utf8(char32_t c) {
  if (c < 0x800) return {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  return {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
          static_cast<char>(0x80 | (c & 0x3F))};
}

// The two bytes between the kanji-in and kanji-out of a JIS text.
std::string PairInsideEscapes(const std::string& jis) {
  if (jis.size() != 8 || jis[0] != '\x1b' || jis[1] != '$') return "not one escaped pair: " + ToHex(jis);
  return jis.substr(3, 2);
}

TEST(IconvAgreement, EveryJisX0208CharacterConvertsAsTheCLibraryDoes) {
  Iconv toUnicode("UTF-8", "SHIFT_JIS");
  Iconv toIso2022("ISO-2022-JP", "UTF-8");
  ASSERT_TRUE(toUnicode.ok() && toIso2022.ok()) << "iconv lacks SHIFT_JIS or ISO-2022-JP";
  int checked = 0;
  for (int lead = 0x81; lead <= 0xEF; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      std::string sjis{static_cast<char>(lead), static_cast<char>(trail)};
      std::optional<std::string> unicode = toUnicode.Convert(sjis);
      if (!unicode) continue;
      std::optional<std::string> expected = toIso2022.Convert(*unicode);
      if (!expected || expected->size() != 8) continue;  // not a JIS X 0208 character
      ++checked;
      ASSERT_EQ(ToHex(PairInsideEscapes(kanji::FromShiftJis(sjis, KanjiCode::Jis))),
                ToHex(PairInsideEscapes(*expected)))
          << "Shift-JIS " << ToHex(sjis);
      std::string euc = kanji::FromShiftJis(sjis, KanjiCode::Euc);
      ASSERT_EQ(kanji::ToShiftJis(euc, KanjiCode::Euc), sjis) << ToHex(sjis);

      auto bytes = [](const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); };
      unsigned char chained[4], back[4];
      std::size_t eucLength = kanji::reference::SjisToEucChained(bytes(sjis), 2, chained);
      ASSERT_EQ(std::string(chained, chained + eucLength), euc);
      std::size_t backLength = kanji::reference::EucToSjisChained(chained, eucLength, back);
      ASSERT_EQ(std::string(back, back + backLength), sjis);
    }
  }
  EXPECT_GT(checked, 6800) << "JIS X 0208 has 6,879 characters";
}

// The C library's code page 932 table, a second source beside the one the
// codec is generated from: every pair it reads as a character but writes as
// other bytes is held by the codec as its bytes and shown as that character;
// every pair it writes back as itself decodes to the same character.
TEST(IconvAgreement, PairsCodePage932WritesElsewhereAreHeldAndShowTheirCharacter) {
  Iconv toUnicode("UTF-8", "CP932");
  Iconv fromUnicode("CP932", "UTF-8");
  ASSERT_TRUE(toUnicode.ok() && fromUnicode.ok()) << "iconv lacks CP932";
  int duplicates = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (!kanji::ShiftJisCodec::IsLeadByte(static_cast<unsigned char>(lead)) || trail == 0x7F) continue;
      std::string sjis{static_cast<char>(lead), static_cast<char>(trail)};
      std::optional<std::string> unicode = toUnicode.Convert(sjis);
      if (!unicode || unicode->empty()) continue;
      std::string decoded = kanji::ShiftJisCodec::Decode(sjis);
      if (fromUnicode.Convert(*unicode) == sjis) {
        ASSERT_EQ(decoded, *unicode) << ToHex(sjis);
        continue;
      }
      ++duplicates;
      char32_t held = kanji::ShiftJisCodec::kHeldPairBase + static_cast<char32_t>(lead << 8 | trail);
      ASSERT_TRUE(kanji::ShiftJisCodec::IsHeldPair(held)) << ToHex(sjis);
      ASSERT_EQ(Utf8(kanji::ShiftJisCodec::DuplicateCharacter(held)), *unicode) << ToHex(sjis);
    }
  }
  EXPECT_EQ(duplicates, 398) << "9 NEC row-13 pairs, 374 NEC-selected IBM pairs, 15 IBM pairs";
}

// Every JIS X 0208 character, as the C library's EUC-JP and JIS X 0213
// tables read it, is written as the Shift-JIS bytes of its cell and is never
// reported as a character Shift-JIS lacks.
TEST(IconvAgreement, EveryJisX0208MeaningIsWrittenAsItsCell) {
  int checked = 0;
  for (const char* table : {"EUC-JP", "EUC-JISX0213"}) {
    Iconv toUnicode("UTF-8", table);
    if (!toUnicode.ok()) continue;
    for (int row = 1; row <= 84; ++row) {
      for (int cell = 1; cell <= 94; ++cell) {
        std::string euc{static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)};
        std::optional<std::string> unicode = toUnicode.Convert(euc);
        if (!unicode || unicode->empty()) continue;
        std::string sjis = kanji::ToShiftJis(euc, KanjiCode::Euc);
        // Cells code page 932 leaves empty (which the C library's tables fill
        // from other standards) are no JIS X 0208 characters.
        if (static_cast<unsigned char>(kanji::ShiftJisCodec::Decode(sjis)[0]) >= 0xF0) continue;
        kanji::EncodeResult encoded = kanji::ShiftJisCodec::Encode(*unicode);
        ++checked;
        ASSERT_EQ(ToHex(encoded.bytes), ToHex(sjis)) << table << " row " << row << " cell " << cell;
        ASSERT_TRUE(encoded.unencodable.empty());
      }
    }
  }
  EXPECT_GT(checked, 6800);
}

}  // namespace
