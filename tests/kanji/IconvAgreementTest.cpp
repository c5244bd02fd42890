// Every two-byte JIS X 0208 character that the C library's SHIFT_JIS
// converter knows: the arithmetic gives the same JIS bytes as its
// ISO-2022-JP output, and the character survives Shift-JIS -> EUC ->
// Shift-JIS both through the one-pass chains and the two-step ones.

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

#include "ByteStrings.h"
#include "KanjiText.h"
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

}  // namespace
