#pragma once

// Lossless conversion between a UTF-8 file's bytes and the editing
// control's text, which is UTF-8 too but must hold only well-formed
// sequences.
//
// Encode(Decode(b)) == b for every byte string b:
//  - Well-formed sequences (no overlong forms, no surrogates, nothing past
//    U+10FFFF) are copied as they are; NUL and line ends included.
//  - Every other byte of 0x80-0xFF (a stray continuation byte, a lead byte
//    without its continuation bytes, a byte of an overlong form or of an
//    encoded surrogate, 0xC0, 0xC1, 0xF5-0xFF) becomes the private-use code
//    point U+F700 + byte, the same stand-in the Shift-JIS codec uses for a
//    byte that is no character, so the control shows it the same way. Each
//    such byte is one code point of its own: it never merges with the bytes
//    around it.
//  - A well-formed U+F780-U+F7FF in the file would encode back to one byte,
//    so its three bytes are taken as three stand-ins instead.
// The byte-order mark is the caller's: Decode keeps it as U+FEFF.

#include <cstddef>
#include <string>
#include <string_view>

namespace kanji {

class Utf8FileCodec {
 public:
  static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  static constexpr char32_t kRawByteBase = 0xF700;

  static bool StartsWithByteOrderMark(std::string_view bytes) { return bytes.starts_with(kByteOrderMark); }

  // Whether every byte belongs to a well-formed sequence.
  static bool IsWellFormed(std::string_view bytes);
  // Well-formed, with at least one sequence of two bytes or more: text that
  // reads as UTF-8 and as nothing simpler.
  static bool LooksLikeUtf8(std::string_view bytes);

  // Room DecodeChunk needs for n input bytes: three bytes a byte at most,
  // and slack for block copies.
  static constexpr std::size_t DecodedBound(std::size_t n) { return 3 * n + 16; }

  // Decodes a piece of a longer text into `out` and returns the bytes
  // written. Unless `atEnd`, up to three last bytes that may start a
  // sequence the next piece completes are left; `consumed` receives the
  // input bytes used. Pieces decoded this way join to Decode of the whole.
  static std::size_t DecodeChunk(std::string_view bytes, bool atEnd, char* out, std::size_t* consumed);
  static std::string Decode(std::string_view bytes);
  // The control's length for a file's bytes, without building the text.
  static std::size_t DecodedLength(std::string_view bytes);

  // The file's bytes for the control's text: each stand-in back to its byte.
  static std::string Encode(std::string_view text);
  static std::size_t EncodedLength(std::string_view text);
};

}  // namespace kanji
