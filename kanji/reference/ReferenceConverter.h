#pragma once

// The conversion routines written the plain way, one byte at a time, as
// they read in words. They are the tests' oracle and the benchmarks'
// baseline; the editor uses KanjiTranscoder. Same conventions: explicit
// lengths, 0x00 an ordinary byte, incomplete units at the end written
// unchanged, output without terminator, result = bytes written.

#include <cstddef>
#include <vector>

#include "KanjiCode.h"

namespace kanji::reference {

using Byte = unsigned char;

KanjiCode DetectCode(const Byte* in, std::size_t n);
std::size_t SjisToJis(const Byte* in, std::size_t n, Byte* out);
std::size_t EucToJis(const Byte* in, std::size_t n, Byte* out);
std::size_t JisToSjis(const Byte* in, std::size_t n, Byte* out);
std::size_t JisToEuc(const Byte* in, std::size_t n, Byte* out);
std::size_t ConvertLineEnd(const Byte* in, std::size_t n, Byte* out, int type);

// The chains through a JIS work buffer, as two calls.
std::size_t SjisToEucChained(const Byte* in, std::size_t n, Byte* out);
std::size_t EucToSjisChained(const Byte* in, std::size_t n, Byte* out);

}  // namespace kanji::reference
