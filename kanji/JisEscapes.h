#pragma once

// The escape sequences JIS text switches modes with, as the converters
// write and read them. In an unnamed namespace for the same reason as
// WindowLoops.h, which includes this file.

namespace kanji::windows {
namespace {

using Byte = unsigned char;

constexpr Byte kEsc = 0x1B;

Byte* PutKanjiIn(Byte* o) {
  o[0] = kEsc;
  o[1] = 0x24;
  o[2] = 0x40;
  return o + 3;
}

Byte* PutKanjiOut(Byte* o) {
  o[0] = kEsc;
  o[1] = 0x28;
  o[2] = 0x4A;
  return o + 3;
}

// An escape sequence at p (three bytes): the two that switch modes set
// `twoByte` and write nothing, any other passes through as it is.
Byte* Escape(const Byte* p, Byte* o, bool& twoByte) {
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
