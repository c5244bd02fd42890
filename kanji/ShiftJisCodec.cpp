#include "ShiftJisCodec.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "ByteScan.h"

namespace kanji {
namespace {

#include "Cp932Table.inc"

using Byte = unsigned char;

constexpr Byte kReplacement = '?';

constexpr int LeadIndex(Byte lead) {
  if (lead >= 0x81 && lead <= 0x9F) return lead - 0x81;
  if (lead >= 0xE0 && lead <= 0xFC) return lead - 0xE0 + 31;
  return -1;
}

unsigned PairCodePoint(Byte lead, Byte trail) {
  int index = LeadIndex(lead);
  if (index < 0 || trail < 0x40) return 0;
  return kPairToUnicode[index][trail - 0x40];
}

unsigned SingleCodePoint(Byte b) {
  unsigned cp = kSingleByteToUnicode[b - 0x80];
  return cp ? cp : ShiftJisCodec::kRawByteBase + b;
}

// Unicode (BMP) to Shift-JIS: below 0x100 a single byte, otherwise lead and
// trail; 0 where code page 932 has no character.
class EncodeTable {
 public:
  EncodeTable() {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      table_[ShiftJisCodec::kRawByteBase + b] = static_cast<unsigned short>(b);
      if (unsigned cp = kSingleByteToUnicode[b - 0x80]) table_[cp] = static_cast<unsigned short>(b);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFF; ++trail) {
        if (unsigned cp = PairCodePoint(static_cast<Byte>(lead), static_cast<Byte>(trail)))
          table_[cp] = static_cast<unsigned short>(lead << 8 | trail);
      }
    }
  }
  unsigned short operator[](char32_t cp) const { return cp < table_.size() ? table_[cp] : 0; }
  unsigned short Bmp(char32_t cp) const { return table_[cp & 0xFFFF]; }

 private:
  std::array<unsigned short, 0x10000> table_{};
};

const EncodeTable& Encoding() {
  static const EncodeTable table;
  return table;
}

Byte* PutUtf8(unsigned cp, Byte* o) {
  if (cp < 0x800) {
    o[0] = static_cast<Byte>(0xC0 | cp >> 6);
    o[1] = static_cast<Byte>(0x80 | (cp & 0x3F));
    return o + 2;
  }
  o[0] = static_cast<Byte>(0xE0 | cp >> 12);
  o[1] = static_cast<Byte>(0x80 | (cp >> 6 & 0x3F));
  o[2] = static_cast<Byte>(0x80 | (cp & 0x3F));
  return o + 3;
}

// One UTF-8 sequence at p (p[0] >= 0x80): its code point and length, or
// U+FFFD and length 1 for a byte that starts no well-formed sequence.
struct Utf8Char {
  char32_t codePoint;
  std::size_t length;
};

Utf8Char ReadUtf8(const Byte* p, std::size_t available) {
  const Utf8Char invalid{0xFFFD, 1};
  auto continuation = [&](std::size_t k) { return k < available && (p[k] & 0xC0) == 0x80; };
  Byte b = p[0];
  if (b >= 0xC2 && b <= 0xDF) {
    if (!continuation(1)) return invalid;
    return {static_cast<char32_t>((b & 0x1F) << 6 | (p[1] & 0x3F)), 2};
  }
  if (b >= 0xE0 && b <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return invalid;
    char32_t cp = static_cast<char32_t>((b & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
    if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return invalid;
    return {cp, 3};
  }
  if (b >= 0xF0 && b <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return invalid;
    char32_t cp = static_cast<char32_t>((b & 0x07) << 18 | (p[1] & 0x3F) << 12 |
                                        (p[2] & 0x3F) << 6 | (p[3] & 0x3F));
    if (cp < 0x10000 || cp > 0x10FFFF) return invalid;
    return {cp, 4};
  }
  return invalid;
}

// The encoder, and with kWrite false its length count. Returns the Shift-JIS
// length; writes to `out` and lists characters Shift-JIS lacks in `missing`
// (when given) only with kWrite. The output position is a local pointer:
// kept in an object, byte stores could alias it and force it through memory.
template <bool kWrite>
std::size_t EncodeWalk(std::string_view utf8, Byte* out, std::vector<Unencodable>* missing) {
  const Byte* p = reinterpret_cast<const Byte*>(utf8.data());
  const std::size_t n = utf8.size();
  const EncodeTable& table = Encoding();
  Byte* o = out;          // where the next byte goes, when writing
  std::size_t counted = 0;  // the length so far, when only counting
  auto putPair = [&](unsigned short bytes) {
    if constexpr (kWrite) {
      std::uint16_t bigEndian = static_cast<std::uint16_t>(bytes >> 8 | bytes << 8);
      std::memcpy(o, &bigEndian, 2);
      o += 2;
    } else {
      counted += 2;
    }
  };
  auto putByte = [&](Byte b) {
    if constexpr (kWrite) *o++ = b;
    else ++counted;
  };
  std::size_t i = 0;
  while (i < n) {
    if constexpr (kWrite) {
      std::size_t run = scan::CopyAsciiSpan(p + i, n - i, o);
      i += run;
      o += run;
    } else {
      std::size_t run = scan::AsciiSpan(p + i, n - i);
      i += run;
      counted += run;
    }
    // Kana and kanji: three UTF-8 bytes to a Shift-JIS pair, the common case
    // of Japanese text, taken without the general decoder.
    while (i + 4 <= n) {
      std::uint32_t w;
      std::memcpy(&w, p + i, 4);
      if ((w & 0xC0C0F0u) != 0x8080E0u) break;  // not a three-byte sequence
      char32_t cp = (w & 0x0Fu) << 12 | (w & 0x3F00u) >> 2 | (w & 0x3F0000u) >> 16;
      unsigned short bytes = table.Bmp(cp);
      if (bytes < 0x100 || cp < 0x800) break;  // single byte, unmapped, surrogate or overlong
      putPair(bytes);
      i += 3;
    }
    if (i < n && p[i] >= 0x80) {
      Utf8Char c = ReadUtf8(p + i, n - i);
      unsigned short bytes = table[c.codePoint];
      if (bytes == 0) {
        if (kWrite && missing) missing->push_back({i, c.codePoint});
        putByte(kReplacement);
      } else if (bytes < 0x100) {
        putByte(static_cast<Byte>(bytes));
      } else {
        putPair(bytes);
      }
      i += c.length;
    }
  }
  return kWrite ? static_cast<std::size_t>(o - out) : counted;
}

}  // namespace

std::size_t ShiftJisCodec::DecodeChunk(std::string_view shiftJis, bool atEnd, char* out,
                                      std::size_t* consumed) {
  const Byte* in = reinterpret_cast<const Byte*>(shiftJis.data());
  const std::size_t n = shiftJis.size();
  Byte* start = reinterpret_cast<Byte*>(out);
  Byte* o = start;
  std::size_t i = 0;
  bool pieceEnds = false;
  while (i < n && !pieceEnds) {
    std::size_t run = scan::CopyAsciiSpan(in + i, n - i, o);
    i += run;
    o += run;
    while (i < n && in[i] >= 0x80) {
      if (i + 1 == n && !atEnd) {  // a last high byte may lead a pair the next piece ends
        pieceEnds = true;
        break;
      }
      unsigned cp = i + 1 < n ? PairCodePoint(in[i], in[i + 1]) : 0;
      if (cp) {
        o = PutUtf8(cp, o);
        i += 2;
      } else {
        o = PutUtf8(SingleCodePoint(in[i]), o);
        ++i;
      }
    }
  }
  if (consumed) *consumed = i;
  return static_cast<std::size_t>(o - start);
}

std::string ShiftJisCodec::Decode(std::string_view shiftJis) {
  std::string result(DecodedBound(shiftJis.size()), '\0');
  result.resize(DecodeChunk(shiftJis, true, result.data(), nullptr));
  return result;
}

std::size_t ShiftJisCodec::EncodeInto(std::string_view utf8, char* shiftJis,
                                     std::vector<Unencodable>* unencodable) {
  return EncodeWalk<true>(utf8, reinterpret_cast<Byte*>(shiftJis), unencodable);
}

EncodeResult ShiftJisCodec::Encode(std::string_view utf8) {
  EncodeResult result;
  result.bytes.resize(EncodedBound(utf8.size()));
  result.bytes.resize(EncodeInto(utf8, result.bytes.data(), &result.unencodable));
  return result;
}

std::size_t ShiftJisCodec::EncodedLength(std::string_view utf8) {
  return EncodeWalk<false>(utf8, nullptr, nullptr);
}

std::size_t ShiftJisCodec::CharLengthAt(std::string_view shiftJis, std::size_t pos) {
  if (pos + 1 < shiftJis.size() &&
      IsRoundTripPair(static_cast<Byte>(shiftJis[pos]), static_cast<Byte>(shiftJis[pos + 1])))
    return 2;
  return 1;
}

bool ShiftJisCodec::IsRoundTripPair(unsigned char lead, unsigned char trail) {
  return PairCodePoint(lead, trail) != 0;
}

}  // namespace kanji
