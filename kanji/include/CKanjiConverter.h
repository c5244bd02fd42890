#pragma once

#include <cstddef>

#include "KanjiCode.h"

// Largest output of each routine for an input of n bytes before its
// terminator, terminator included. Callers size buffers from these alone.
constexpr std::size_t SjisToJisBound(std::size_t n) { return 3 * n + 4; }
constexpr std::size_t EucToJisBound(std::size_t n) { return 3 * n + 4; }
constexpr std::size_t JisToSjisBound(std::size_t n) { return n + 1; }
constexpr std::size_t JisToEucBound(std::size_t n) { return n + 1; }
constexpr std::size_t ConvertLineEndBound(std::size_t n) { return 2 * n + 1; }

// Detection and conversion of NUL-terminated texts between Shift-JIS, JIS and
// EUC, by byte arithmetic without tables. The input ends at its first 0x00;
// every routine writes its output from the start of `out`, ends it with one
// 0x00 and returns the position of that terminator. Input and output must be
// different buffers of at least the bound above.
//
// A text cut off inside a unit (a lead byte as the last byte, ESC among the
// last two bytes, a lone byte in two-byte mode) never reads past the
// terminator: the incomplete unit is written unchanged, so no byte of the
// text vanishes. The encoders leave two-byte mode before writing it, so a
// JIS reader copies it as a one-byte character.
//
// Callers with explicit lengths (texts that may hold 0x00) use KanjiText.h.
class CKanjiConverter {
 public:
  virtual ~CKanjiConverter() = default;

  KanjiCode DetectCode(const unsigned char* in) const;
  unsigned char* SjisToJis(unsigned char* out, const unsigned char* in) const;
  unsigned char* EucToJis(unsigned char* out, const unsigned char* in) const;
  unsigned char* JisToSjis(unsigned char* out, const unsigned char* in) const;
  unsigned char* JisToEuc(unsigned char* out, const unsigned char* in) const;
  // type: 1 CR, 2 LF, 3 CR+LF; any other value copies the text unchanged.
  unsigned char* ConvertLineEnd(unsigned char* out, const unsigned char* in, int type) const;
};
