#pragma once

// The pairs code page 932 reads as a character that it writes as other
// bytes (the NEC row-13 and IBM duplicates): the codec holds them as their
// bytes, and every part of the editor that hands text elsewhere must give
// their character.

#include <string>
#include <vector>

#include "ShiftJisCodec.h"

// A BMP code point's UTF-8.
inline std::string Utf8Of(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  std::string utf8;
  if (c < 0x800) {
    utf8 += static_cast<char>(0xC0 | c >> 6);
  } else {
    utf8 += static_cast<char>(0xE0 | c >> 12);
    utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
  }
  utf8 += static_cast<char>(0x80 | (c & 0x3F));
  return utf8;
}

struct SecondForm {
  std::string bytes;     // the pair as read, two bytes
  char32_t held;         // the code point the codec holds it as
  char32_t character;    // what it stands for
  std::string utf8;      // the character's UTF-8
  std::string standard;  // the bytes code page 932 writes for that character
};

inline std::vector<SecondForm> EverySecondForm() {
  using kanji::ShiftJisCodec;
  std::vector<SecondForm> forms;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const char32_t held = ShiftJisCodec::kHeldPairBase + (lead << 8 | trail);
      const char32_t character = ShiftJisCodec::IsHeldPair(held) ? ShiftJisCodec::DuplicateCharacter(held) : 0;
      if (!character) continue;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      forms.push_back({bytes, held, character, Utf8Of(character), ShiftJisCodec::Encode(Utf8Of(character)).bytes});
    }
  }
  return forms;
}
