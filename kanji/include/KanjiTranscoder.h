#pragma once

// The conversion routines on texts of explicit length. A 0x00 byte here is an
// ordinary one-byte character: it neither ends the text nor stops a routine,
// so a whole text always comes out whole. Output carries no terminator; each
// routine returns the number of bytes written. Output room needed for n input
// bytes is the routine's bound (CKanjiConverter.h) less the terminator.

#include <cstddef>

#include "KanjiCode.h"

namespace kanji {

using Byte = unsigned char;

// Decides the code of in[0, n), ending at the first 0x00 as a file handed
// to detection does.
KanjiCode DetectCodeBytes(const Byte* in, std::size_t n);

std::size_t SjisToJisBytes(const Byte* in, std::size_t n, Byte* out);
std::size_t EucToJisBytes(const Byte* in, std::size_t n, Byte* out);
std::size_t JisToSjisBytes(const Byte* in, std::size_t n, Byte* out);
std::size_t JisToEucBytes(const Byte* in, std::size_t n, Byte* out);
std::size_t ConvertLineEndBytes(const Byte* in, std::size_t n, Byte* out, int type);

// The two chained directions (Shift-JIS -> JIS -> EUC and EUC -> JIS ->
// Shift-JIS) in one pass. Output room: n bytes.
//
// The output equals the two-step chain's byte for byte except where the
// chain's second step would misread what its first step wrote: an ESC that
// stands in the text itself, or one that the first step produces as the
// first byte of a pair (the Shift-JIS half-width katakana 0xBE before a byte
// below 0x9F; the EUC byte 0x9B). The chain takes
// those for escape sequences and garbles or shifts everything after them;
// here each character is converted on its own, so the rest of the text
// stays in place.
std::size_t SjisToEucBytes(const Byte* in, std::size_t n, Byte* out);
std::size_t EucToSjisBytes(const Byte* in, std::size_t n, Byte* out);

}  // namespace kanji
