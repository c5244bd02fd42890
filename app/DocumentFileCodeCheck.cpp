#include "DocumentFileCodeCheck.h"

#include <QList>
#include <QString>

#include <array>
#include <bitset>
#include <cstring>

#include "KanjiText.h"
#include "ShiftJisCodec.h"
#include "Utf8FileCodec.h"

namespace {

using kanji::ShiftJisCodec;
using Byte = unsigned char;

constexpr Byte kEsc = 0x1B;

bool checkOn = true;

// Every Shift-JIS pair that code page 932 reads as a character of its own:
// not an empty cell, not a pair held as its bytes, not a user-defined
// character (which no other code carries either).
class DefinedPairs {
 public:
  DefinedPairs() {
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!ShiftJisCodec::IsLeadByte(static_cast<Byte>(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (!ShiftJisCodec::IsTrailByte(static_cast<Byte>(trail))) continue;
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        const QList<uint> decoded = QString::fromStdString(ShiftJisCodec::Decode(std::string_view(pair, 2))).toUcs4();
        m_defined[Index(static_cast<Byte>(lead), static_cast<Byte>(trail))] =
            decoded.size() == 1 && !IsPrivateUse(decoded[0]);
      }
    }
  }

  bool Has(Byte lead, Byte trail) const { return m_defined[Index(lead, trail)]; }

 private:
  static std::size_t Index(Byte lead, Byte trail) { return static_cast<std::size_t>(lead) << 8 | trail; }

  // User-defined characters, the codec's stand-ins for bytes that are no
  // character and for held pairs.
  static bool IsPrivateUse(uint c) { return (c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000; }

  std::bitset<0x10000> m_defined;
};

const DefinedPairs& Defined() {
  static const DefinedPairs pairs;
  return pairs;
}

// The Shift-JIS pair of a JIS X 0208 cell given as its two 7-bit bytes
// (0x21-0x7E each).
std::array<Byte, 2> ShiftJisOfJis(Byte j1, Byte j2) {
  Byte s1 = static_cast<Byte>(((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0));
  Byte s2 = static_cast<Byte>(j2 + ((j1 & 1) ? (j2 >= 0x60 ? 0x20 : 0x1F) : 0x7E));
  return {s1, s2};
}

// What the start of a file shows read in one code.
struct Reading {
  std::size_t characters = 0;  // of two bytes
  std::size_t kana = 0;        // of them hiragana and katakana
  bool faulty = false;         // a byte no character is made of, a control byte shown

  // Japanese text: characters of two bytes, and kana among them as any
  // prose has (a quarter and more; a text mistaken for another code shows
  // almost none).
  bool LooksJapanese(bool kanaNeeded) const {
    return !faulty && characters > 0 && (!kanaNeeded || 4 * kana >= characters);
  }
};

// Bytes below 0x20 that a text holds: tab, line ends and form feed.
bool IsTextControl(Byte b) { return b == '\t' || b == '\n' || b == '\r' || b == '\f'; }
bool IsStrayControl(Byte b) { return (b < 0x20 && !IsTextControl(b)) || b == 0x7F; }

// A JIS X 0208 cell: row 4 is hiragana, row 5 katakana.
bool IsKanaCell(Byte j1, Byte j2) { return (j1 == 0x24 && j2 <= 0x73) || (j1 == 0x25 && j2 <= 0x76); }

void AddJisCell(Reading& r, Byte j1, Byte j2) {
  std::array<Byte, 2> pair = ShiftJisOfJis(j1, j2);
  if (!Defined().Has(pair[0], pair[1])) {
    r.faulty = true;
    return;
  }
  ++r.characters;
  if (IsKanaCell(j1, j2)) ++r.kana;
}

Reading ReadShiftJis(std::string_view text) {
  Reading r;
  const auto* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n && !r.faulty;) {
    const Byte b = s[i];
    if (b < 0x80) {
      r.faulty = IsStrayControl(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      ++i;  // half-width katakana
    } else if (ShiftJisCodec::IsLeadByte(b) && i + 1 < n && ShiftJisCodec::IsTrailByte(s[i + 1])) {
      const Byte t = s[i + 1];
      r.faulty = !Defined().Has(b, t);
      ++r.characters;
      if ((b == 0x82 && t >= 0x9F && t <= 0xF1) || (b == 0x83 && t <= 0x96)) ++r.kana;
      i += 2;
    } else {
      r.faulty = true;
    }
  }
  return r;
}

bool IsEucByte(Byte b) { return b >= 0xA1 && b <= 0xFE; }

// EUC as the editor reads it: JIS X 0208 in two bytes of 0xA1-0xFE and
// half-width katakana after 0x8E. JIS X 0212 (after 0x8F) has no place in
// Shift-JIS: a text that needs it does not read well.
Reading ReadEuc(std::string_view text) {
  Reading r;
  const auto* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n && !r.faulty;) {
    const Byte b = s[i];
    if (b < 0x80) {
      r.faulty = IsStrayControl(b);
      ++i;
    } else if (b == 0x8E && i + 1 < n && s[i + 1] >= 0xA1 && s[i + 1] <= 0xDF) {
      i += 2;
    } else if (IsEucByte(b) && i + 1 < n && IsEucByte(s[i + 1])) {
      AddJisCell(r, b & 0x7F, s[i + 1] & 0x7F);
      i += 2;
    } else {
      r.faulty = true;
    }
  }
  return r;
}

bool IsJisByte(Byte b) { return b >= 0x21 && b <= 0x7E; }

// JIS with the escapes of JIS X 0208 and of ASCII or JIS X 0201 roman;
// any other escape (half-width katakana, JIS X 0212) reads as other
// characters than the file's.
Reading ReadJis(std::string_view text) {
  Reading r;
  const auto* s = reinterpret_cast<const Byte*>(text.data());
  const std::size_t n = text.size();
  bool twoByte = false;
  for (std::size_t i = 0; i < n && !r.faulty;) {
    const Byte b = s[i];
    if (b == kEsc) {
      const Byte c = i + 1 < n ? s[i + 1] : 0, d = i + 2 < n ? s[i + 2] : 0;
      if (c == '$' && (d == '@' || d == 'B')) twoByte = true;
      else if (c == '(' && (d == 'B' || d == 'J')) twoByte = false;
      else r.faulty = true;
      i += 3;
    } else if (b >= 0x80) {
      r.faulty = true;
    } else if (twoByte) {
      // Line ends inside two-byte mode would be read as halves of characters.
      if (IsJisByte(b) && i + 1 < n && IsJisByte(s[i + 1])) AddJisCell(r, b, s[i + 1]);
      else r.faulty = true;
      i += 2;
    } else {
      r.faulty = IsStrayControl(b);
      ++i;
    }
  }
  return r;
}

// Whether the text reads as `code`: Japanese in it, or for UTF-8 well-formed
// with characters of more than one byte.
bool ReadsAs(std::string_view text, KanjiCode code) {
  switch (code) {
    case KanjiCode::ShiftJis: return ReadShiftJis(text).LooksJapanese(true);
    case KanjiCode::Euc: return ReadEuc(text).LooksJapanese(true);
    case KanjiCode::Jis: return ReadJis(text).LooksJapanese(false);
    case KanjiCode::Utf8: return kanji::Utf8FileCodec::LooksLikeUtf8(text);
    default: return false;
  }
}

// The start of a file, ending after its last line end when the file goes
// on past it: no character is cut in two.
std::string_view Sample(std::string_view start, bool whole) {
  start = start.substr(0, kCodeCheckBytes);
  if (whole && start.size() < kCodeCheckBytes) return start;
  const void* lastLf = memrchr(start.data(), '\n', start.size());
  if (lastLf) start = start.substr(0, static_cast<std::size_t>(static_cast<const char*>(lastLf) - start.data()) + 1);
  return start;
}

}  // namespace

std::optional<KanjiCode> PlainlyOtherCode(std::string_view start, bool whole, KanjiCode readIn) {
  if (!checkOn) return std::nullopt;
  if (readIn != KanjiCode::ShiftJis && readIn != KanjiCode::Jis && readIn != KanjiCode::Euc) return std::nullopt;
  std::string_view text = Sample(start, whole);
  // A 0x00 is no text's: a binary file, or UTF-16.
  if (text.empty() || std::memchr(text.data(), 0, text.size())) return std::nullopt;
  const KanjiCode detected = kanji::DetectFileCode(text);
  KanjiCode candidates[2] = {detected, detected};
  if (detected == KanjiCode::ShiftJis) candidates[1] = KanjiCode::Euc;
  if (detected == KanjiCode::Euc) candidates[1] = KanjiCode::ShiftJis;
  for (KanjiCode candidate : candidates) {
    if (candidate == readIn || !ReadsAs(text, candidate)) continue;
    // Well-formed UTF-8 with characters of several bytes is UTF-8 whatever
    // else it might read as; any other code only when the setting's reads
    // as mojibake.
    if (candidate == KanjiCode::Utf8 || !ReadsAs(text, readIn)) return candidate;
  }
  return std::nullopt;
}

const char* KanjiCodeDisplayName(KanjiCode code) {
  switch (code) {
    case KanjiCode::ShiftJis: return "Shift-JIS";
    case KanjiCode::Jis: return "JIS";
    case KanjiCode::Euc: return "EUC";
    case KanjiCode::Utf8: return "UTF-8";
    default: return "";
  }
}

void SetCodeCheckForTesting(bool on) { checkOn = on; }
bool CodeCheckOn() { return checkOn; }
