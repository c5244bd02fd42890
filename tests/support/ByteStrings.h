#pragma once

// Byte strings for tests, written as hex ("82 A0 1B 24 40") so that embedded
// NULs and bytes next to letters read plainly.

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

inline std::string Hex(std::string_view hex) {
  std::string bytes;
  int high = -1;
  for (char ch : hex) {
    int digit;
    if (ch >= '0' && ch <= '9') digit = ch - '0';
    else if (ch >= 'A' && ch <= 'F') digit = ch - 'A' + 10;
    else if (ch >= 'a' && ch <= 'f') digit = ch - 'a' + 10;
    else if (ch == ' ') continue;
    else throw std::invalid_argument("not a hex digit");
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<char>(high << 4 | digit));
      high = -1;
    }
  }
  if (high >= 0) throw std::invalid_argument("odd number of hex digits");
  return bytes;
}

inline std::string ToHex(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char b : bytes) {
    if (!hex.empty()) hex.push_back(' ');
    hex.push_back(digits[b >> 4]);
    hex.push_back(digits[b & 15]);
  }
  return hex;
}

// Random bytes drawn from `alphabet` (all 256 values when empty).
inline std::string RandomBytes(std::mt19937& rng, std::size_t length, std::string_view alphabet = {}) {
  std::string bytes(length, '\0');
  for (char& b : bytes) {
    if (alphabet.empty()) b = static_cast<char>(rng() & 0xFF);
    else b = alphabet[rng() % alphabet.size()];
  }
  return bytes;
}
