#pragma once

// The walk from UTF-8 to Shift-JIS behind ShiftJisCodec's encoder and its
// length count, on raw bytes and the encode table's entries.
//
// Compiled twice: for the baseline instruction set and, in its own source
// file, with BMI2, whose bit extraction takes a three-byte sequence apart
// in one step. Everything here is in an unnamed namespace, and the walk
// calls no shared inline code (the table arrives as an array, unencodable
// characters leave through a function pointer), so nothing built for BMI2
// can stand in for the baseline code.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ByteScan.h"

namespace kanji::encoding {

// Where the walk reports a character Shift-JIS lacks, by its UTF-8 offset.
using ReportMissing = void (*)(void* context, std::size_t utf8Offset, char32_t codePoint);

// The walk with BMI2 (defined only where the build has it).
std::size_t EncodeWithBmi2(const unsigned char* utf8, std::size_t n, unsigned char* out,
                           const std::uint16_t* table, ReportMissing report, void* context);
std::size_t CountWithBmi2(const unsigned char* utf8, std::size_t n, const std::uint16_t* table);

namespace {

using Byte = unsigned char;

constexpr Byte kReplacement = '?';

// Encode table entries (65,536 of them, one per BMP code point, then 32,768
// for U+F8000-U+FFFFF, where the pairs held as their bytes lie), as the
// bytes stand in memory: a pair's lead in the low byte and its trail in
// the high byte; a single byte in the high byte over a zero low byte; 0
// where code page 932 has no character. A nonzero low byte marks a pair,
// which the hot loop stores as it is.
constexpr char32_t kHeldPairsFirst = 0xF8000;
constexpr std::size_t kEncodeTableSize = 0x10000 + 0x8000;
bool IsPair(std::uint16_t entry) { return (entry & 0xFF) != 0; }
Byte SingleByte(std::uint16_t entry) { return static_cast<Byte>(entry >> 8); }
std::uint16_t Lookup(const std::uint16_t* table, char32_t cp) {
  if (cp < 0x10000) return table[cp];
  if (cp - kHeldPairsFirst < 0x8000) return table[0x10000 + (cp - kHeldPairsFirst)];
  return 0;
}

// The code point of a three-byte sequence whose bytes are the low three
// of w, in memory order (checked by the caller).
struct PlainCodePoints {
  static char32_t ThreeByte(std::uint32_t w) {
    return (w & 0x0Fu) << 12 | (w & 0x3F00u) >> 2 | (w & 0x3F0000u) >> 16;
  }
};

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
// length; writes to `out` and reports characters Shift-JIS lacks (when
// `report` is given) only with kWrite. The output position is a local
// pointer: kept in an object, byte stores could alias it and force it
// through memory.
template <bool kWrite, class CodePoints>
std::size_t EncodeWalk(const Byte* p, std::size_t n, Byte* out, const std::uint16_t* table,
                       ReportMissing report, void* context) {
  Byte* o = out;            // where the next byte goes, when writing
  std::size_t counted = 0;  // the length so far, when only counting
  auto putPair = [&](std::uint16_t entry) {
    if constexpr (kWrite) {
      std::memcpy(o, &entry, 2);
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
    // Kana and kanji: three UTF-8 bytes to a Shift-JIS pair, the common
    // case of Japanese text, taken without the general decoder. A single
    // byte, an unmapped character, a surrogate or an overlong form leaves
    // the loop for the general path.
    while (i + 4 <= n) {
      std::uint32_t w;
      std::memcpy(&w, p + i, 4);
      if ((w & 0xC0C0F0u) != 0x8080E0u) break;
      char32_t cp = CodePoints::ThreeByte(w);
      std::uint16_t entry = table[cp];
      if (!IsPair(entry) || cp < 0x800) break;
      putPair(entry);
      i += 3;
    }
    if (i < n && p[i] >= 0x80) {
      Utf8Char c = ReadUtf8(p + i, n - i);
      std::uint16_t entry = Lookup(table, c.codePoint);
      if (entry == 0) {
        if (kWrite && report) report(context, i, c.codePoint);
        putByte(kReplacement);
      } else if (IsPair(entry)) {
        putPair(entry);
      } else {
        putByte(SingleByte(entry));
      }
      i += c.length;
    }
  }
  return kWrite ? static_cast<std::size_t>(o - out) : counted;
}

}  // namespace
}  // namespace kanji::encoding
