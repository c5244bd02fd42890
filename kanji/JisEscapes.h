#pragma once

// The escape sequences JIS text switches modes with, as the converters
// write and read them. In an unnamed namespace for the same reason as
// WindowLoops.h, which includes this file.

#include <bit>
#include <cstdint>
#include <cstring>

namespace kanji::windows {
namespace {

using Byte = unsigned char;

constexpr Byte kEsc = 0x1B;

// Up to three bytes as a 4-byte word in memory order, for writers that
// store them with one move (the bytes past them are overwritten by what
// follows).
constexpr std::uint32_t WordOf(const Byte (&bytes)[3]) {
  const Byte word[4] = {bytes[0], bytes[1], bytes[2], 0};
  return std::bit_cast<std::uint32_t>(word);
}

// The two escapes the writers switch with.
constexpr Byte kKanjiIn[3] = {kEsc, 0x24, 0x40};
constexpr Byte kKanjiOut[3] = {kEsc, 0x28, 0x4A};
constexpr std::uint32_t kKanjiInWord = WordOf(kKanjiIn);
constexpr std::uint32_t kKanjiOutWord = WordOf(kKanjiOut);

inline Byte* PutKanjiIn(Byte* o) {
  std::memcpy(o, kKanjiIn, 3);
  return o + 3;
}

inline Byte* PutKanjiOut(Byte* o) {
  std::memcpy(o, kKanjiOut, 3);
  return o + 3;
}

// An escape sequence at p (three bytes): the two that switch modes set
// `twoByte` and write nothing, any other passes through as it is.
inline Byte* Escape(const Byte* p, Byte* o, bool& twoByte) {
  if (p[1] == 0x24) {
    twoByte = true;
  } else if (p[1] == 0x28) {
    twoByte = false;
  } else {
    o[0] = kEsc;
    o[1] = p[1];
    o[2] = p[2];
    o += 3;
  }
  return o;
}

}  // namespace
}  // namespace kanji::windows
