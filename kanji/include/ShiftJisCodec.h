#pragma once

// Lossless conversion between Shift-JIS bytes (code page 932, with the NEC
// and IBM extensions) and UTF-8, for the editing control, which holds
// Unicode, while the rest of the program works on Shift-JIS bytes.
//
// Encode(Decode(b)) == b for every byte string b, and Decode splits bytes
// into characters as Shift-JIS does: a lead byte (0x81-0x9F, 0xE0-0xFC)
// followed by a trail byte (0x40-0x7E, 0x80-0xFC) is always one character,
// so a pair never swallows the byte after it.
//  - Characters that code page 932 maps both ways become their Unicode code
//    points.
//  - Any other pair is held as its two bytes: the private-use code point
//    U+F0000 + (lead << 8 | trail), one code point (so the control never
//    puts the caret, a deletion or an insertion inside it) that encodes back
//    to those bytes. Such a pair is either one code page 932 reads as a
//    character it writes as other bytes (0x8790 reads as the "≒" of 0x81E0,
//    0xED40-0xEEFC are the IBM kanji of 0xFA40-0xFC4B) or an empty cell.
//    Mapping the duplicates to their characters would save them as the
//    standard bytes; a character followed by a variation selector would be
//    two code points the user could split. DuplicateCharacter gives the
//    character for display, StandardText the text other programs read and
//    StandardPairs the bytes JIS and EUC know.
//  - Every other byte of 0x80-0xFF (a lone lead byte, 0x80, 0xA0, 0xFD-0xFF)
//    becomes the private-use code point U+F700 + byte, which encodes back to
//    that byte.
// Bytes below 0x80, NUL included, are themselves.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kanji {

// A character of the UTF-8 text that Shift-JIS cannot hold: where it starts
// in the UTF-8 text, and what it is (U+FFFD for a byte that is not UTF-8).
struct Unencodable {
  std::size_t utf8Offset;
  char32_t codePoint;
  bool operator==(const Unencodable&) const = default;
};

struct EncodeResult {
  std::string bytes;                     // Shift-JIS, "?" for each unencodable character
  std::vector<Unencodable> unencodable;  // in text order
};

class ShiftJisCodec {
 public:
  static constexpr char32_t kRawByteBase = 0xF700;
  static constexpr char32_t kHeldPairBase = 0xF0000;

  static constexpr bool IsRawByte(char32_t c) { return c >= kRawByteBase + 0x80 && c <= kRawByteBase + 0xFF; }
  static constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
  static constexpr bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
  // A code point Decode gives for a pair held as its bytes.
  static bool IsHeldPair(char32_t c);
  // The character code page 932 reads in a held pair (whose standard form is
  // other bytes), or 0 for an empty cell and for any other code point.
  static char32_t DuplicateCharacter(char32_t heldPair);
  // The held pairs code page 932 reads as `character`: its second byte
  // forms (0x8790 for "≒", 0xED40 for "纊"), in pair order; none for most.
  static std::vector<char32_t> SecondForms(char32_t character);

  // The text as other programs should read it. A held pair that code page
  // 932 reads as a character becomes that character, which Encode writes in
  // its standard form (0x81E0 for the "≒" of 0x8790); any other held pair
  // (an empty cell) becomes its two bytes, each as Decode gives a byte of
  // its own (the raw-byte code point for 0x80 or more, the ASCII character
  // below), which Encode and Utf8FileCodec::Encode write back as those
  // bytes. Everything else is left as it is.
  static std::string StandardText(std::string_view utf8);
  // Whether the text holds a held pair: StandardText would change it.
  static bool HoldsPairs(std::string_view utf8);
  // Shift-JIS with each pair that code page 932 reads as a character it
  // writes as other bytes replaced by those bytes: the text as JIS and EUC
  // know its characters. The same length; pairs are found as Decode finds
  // them, so `shiftJis` must start at a character's first byte. A walk over
  // every pair: text still in the control is better encoded with
  // HeldPairs::Standard.
  static std::string StandardPairs(std::string_view shiftJis);

  static std::string Decode(std::string_view shiftJis);

  // Room DecodeChunk needs for n input bytes: three UTF-8 bytes a byte at
  // most, and slack for block copies.
  static constexpr std::size_t DecodedBound(std::size_t n) { return 3 * n + 16; }

  // Decodes a piece of a longer text into `out` and returns the UTF-8 bytes
  // written. Unless `atEnd`, a last byte of 0x80 or more is left for the
  // next piece, since it may lead a pair; `consumed` receives the input
  // bytes used. Pieces decoded this way join to Decode of the whole.
  static std::size_t DecodeChunk(std::string_view shiftJis, bool atEnd, char* out,
                                 std::size_t* consumed);
  static EncodeResult Encode(std::string_view utf8);

  // Room EncodeInto needs: Shift-JIS is never longer than UTF-8, plus slack
  // for block copies.
  static constexpr std::size_t EncodedBound(std::size_t utf8Length) { return utf8Length + 16; }

  // How EncodeInto writes a held pair that stands for a character: as the
  // bytes it was read as (a Shift-JIS save), or as that character's
  // standard bytes (what JIS and EUC know the character by; the same bytes
  // as Encode(StandardText(utf8)), at no cost).
  enum class HeldPairs { AsRead, Standard };

  // Encode into a buffer of the caller's (EncodedBound of room); returns the
  // bytes written and lists unencodable characters when asked to.
  static std::size_t EncodeInto(std::string_view utf8, char* shiftJis,
                                std::vector<Unencodable>* unencodable, HeldPairs held = HeldPairs::AsRead);

  // Shift-JIS byte length of a UTF-8 text, as Encode would give it, without
  // building the bytes.
  static std::size_t EncodedLength(std::string_view utf8);

  // Length (1 or 2) of the character that starts at `pos`, as Decode splits
  // the text.
  static std::size_t CharLengthAt(std::string_view shiftJis, std::size_t pos);

  // Length of the longest start of a UTF-8 text whose Shift-JIS form (as
  // Encode writes it, "?" for a character Shift-JIS lacks) fits in
  // `maxBytes`: a text cut there never ends in half a character.
  static std::size_t PrefixFitting(std::string_view utf8, std::size_t maxBytes);
};

}  // namespace kanji
