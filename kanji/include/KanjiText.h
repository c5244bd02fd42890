#pragma once

// Whole-text conversions for callers that hold a text and its length: the
// document's load and save, the line-ending command. A 0x00 or ESC anywhere
// in the text, or produced by a conversion, never ends or shifts the
// output; every byte of the input is accounted for.

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "KanjiCode.h"

namespace kanji {

// The code of a text, judged on the bytes before its first 0x00.
KanjiCode DetectCode(std::string_view text);

// The code of a file read with the automatic setting: a UTF-8 byte-order
// mark means UTF-8; text DetectCode takes for JIS stays JIS; text that is
// well-formed UTF-8 throughout, with at least one multi-byte sequence, is
// UTF-8 (Shift-JIS and EUC text is practically never that); anything else
// is DetectCode's answer.
KanjiCode DetectFileCode(std::string_view text);

// JIS and EUC to Shift-JIS; any other code returns the text unchanged.
std::string ToShiftJis(std::string_view text, KanjiCode from);

// Shift-JIS to JIS or EUC; any other code returns the text unchanged.
std::string FromShiftJis(std::string_view shiftJis, KanjiCode to);

// type: 1 CR, 2 LF, 3 CR+LF; any other value returns the text unchanged.
std::string ConvertLineEnds(std::string_view text, int type);

// A character of a Shift-JIS text, by byte offset and length.
struct TextSpan {
  std::size_t offset;
  std::size_t length;
  bool operator==(const TextSpan&) const = default;
};

// The characters of a Shift-JIS text that a file in `target` cannot carry
// so that reading it back gives them again: for JIS and EUC, everything but
// ASCII and the JIS X 0208 characters (half-width katakana, NEC and IBM
// extensions, user-defined characters, bytes that are no character), and
// the bytes 0x00 and ESC, which a reader takes for the end of the text and
// an escape. Shift-JIS and None carry every byte: the list is empty.
// At most `limit` spans are returned, in text order.
std::vector<TextSpan> FindUncarryable(std::string_view shiftJis, KanjiCode target,
                                      std::size_t limit = std::numeric_limits<std::size_t>::max());

}  // namespace kanji
