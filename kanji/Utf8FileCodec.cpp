#include "Utf8FileCodec.h"

#include <cstdint>
#include <cstring>

#include "ByteScan.h"
#include "ProcessorFeatures.h"

namespace kanji {

namespace utf8check {
// The check with AVX2 (defined only where the build has it).
bool CheckAvx2(const unsigned char* p, std::size_t n, bool* multiByte);
}  // namespace utf8check

namespace {

using Byte = unsigned char;

bool IsContinuation(Byte b) { return (b & 0xC0) == 0x80; }

// The stand-ins U+F780-U+F7FF are EF 9E 80 - EF 9F BF.
bool IsStandIn(const Byte* p, std::size_t available) {
  return available >= 3 && p[0] == 0xEF && (p[1] == 0x9E || p[1] == 0x9F) && IsContinuation(p[2]);
}

// Length of the well-formed sequence at p (p[0] >= 0x80), or 0 when the
// byte starts none within `available` bytes.
std::size_t SequenceLength(const Byte* p, std::size_t available) {
  const Byte b = p[0];
  if (b >= 0xC2 && b <= 0xDF) return available >= 2 && IsContinuation(p[1]) ? 2 : 0;
  if (b >= 0xE0 && b <= 0xEF) {
    if (available < 3 || !IsContinuation(p[1]) || !IsContinuation(p[2])) return 0;
    if (b == 0xE0 && p[1] < 0xA0) return 0;   // overlong
    if (b == 0xED && p[1] >= 0xA0) return 0;  // a surrogate
    return 3;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    if (available < 4 || !IsContinuation(p[1]) || !IsContinuation(p[2]) || !IsContinuation(p[3])) return 0;
    if (b == 0xF0 && p[1] < 0x90) return 0;   // overlong
    if (b == 0xF4 && p[1] >= 0x90) return 0;  // past U+10FFFF
    return 4;
  }
  return 0;
}

// A three-byte sequence of the common kind (kana, kanji, full-width forms)
// whose bytes are the low three of w, in memory order: well formed, not
// overlong, no surrogate.
bool IsPlainThreeByte(std::uint32_t w) {
  if ((w & 0xC0C0F0u) != 0x8080E0u) return false;
  const unsigned lead = w & 0x0F, second = w >> 8 & 0x3F;
  if (lead == 0 && second < 0x20) return false;   // overlong
  if (lead == 0xD && second >= 0x20) return false;  // a surrogate
  return true;
}

Byte* PutStandIn(Byte b, Byte* o) {
  const char32_t cp = Utf8FileCodec::kRawByteBase + b;
  o[0] = static_cast<Byte>(0xE0 | cp >> 12);
  o[1] = static_cast<Byte>(0x80 | (cp >> 6 & 0x3F));
  o[2] = static_cast<Byte>(0x80 | (cp & 0x3F));
  return o + 3;
}

// Walks the bytes as Validate's callers need: false at the first byte that
// belongs to no well-formed sequence; `multiByte` tells whether a sequence
// of two bytes or more was seen.
bool Validate(const Byte* p, std::size_t n, bool* multiByte) {
#if defined(KB_AVX2_WINDOWS)
  if (UseAvx2()) return utf8check::CheckAvx2(p, n, multiByte);
#endif
  std::size_t i = 0;
  bool seen = false;
  while (i < n) {
    i += scan::AsciiSpan(p + i, n - i);
    while (i < n && p[i] >= 0x80) {
      if (i + 4 <= n) {
        std::uint32_t w;
        std::memcpy(&w, p + i, 4);
        if (IsPlainThreeByte(w)) {
          i += 3;
          seen = true;
          continue;
        }
      }
      const std::size_t length = SequenceLength(p + i, n - i);
      if (length == 0) return false;
      i += length;
      seen = true;
    }
  }
  *multiByte = seen;
  return true;
}

// The bytes of a piece that end with a whole sequence: a sequence begun in
// the last three bytes and not ended in them is left for the next piece.
std::size_t CompleteLength(const Byte* p, std::size_t n) {
  for (std::size_t k = n; k > 0 && k + 3 >= n; --k) {
    const Byte b = p[k - 1];
    if (b < 0x80) return n;
    if (b >= 0xC0) {
      const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
      return k - 1 + length > n ? k - 1 : n;
    }
  }
  return n;
}

bool HasStandIn(const Byte* p, std::size_t n) {
  for (std::size_t pos = 0; pos < n;) {
    const void* found = std::memchr(p + pos, 0xEF, n - pos);
    if (!found) return false;
    const std::size_t at = static_cast<std::size_t>(static_cast<const Byte*>(found) - p);
    if (IsStandIn(p + at, n - at)) return true;
    pos = at + 1;
  }
  return false;
}

}  // namespace

bool Utf8FileCodec::IsWellFormed(std::string_view bytes) {
  bool multiByte = false;
  return Validate(reinterpret_cast<const Byte*>(bytes.data()), bytes.size(), &multiByte);
}

bool Utf8FileCodec::LooksLikeUtf8(std::string_view bytes) {
  bool multiByte = false;
  return Validate(reinterpret_cast<const Byte*>(bytes.data()), bytes.size(), &multiByte) && multiByte;
}

std::size_t Utf8FileCodec::DecodeChunk(std::string_view bytes, bool atEnd, char* out, std::size_t* consumed) {
  const auto* in = reinterpret_cast<const Byte*>(bytes.data());
  const std::size_t n = bytes.size();
  // Most pieces are well-formed throughout and hold no stand-in: checked at
  // memory speed, they are copied whole.
  const std::size_t whole = atEnd ? n : CompleteLength(in, n);
  bool multiByte = false;
  if (whole > 0 && Validate(in, whole, &multiByte) && !HasStandIn(in, whole)) {
    std::memcpy(out, in, whole);
    if (consumed) *consumed = whole;
    return whole;
  }
  Byte* start = reinterpret_cast<Byte*>(out);
  Byte* o = start;
  std::size_t i = 0;
  bool pieceEnds = false;
  while (i < n && !pieceEnds) {
    std::size_t run = scan::CopyAsciiSpan(in + i, n - i, o);
    i += run;
    o += run;
    while (i < n && in[i] >= 0x80) {
      if (i + 4 <= n) {
        std::uint32_t w;
        std::memcpy(&w, in + i, 4);
        if (IsPlainThreeByte(w) && !IsStandIn(in + i, 3)) {
          std::memcpy(o, in + i, 3);
          o += 3;
          i += 3;
          continue;
        }
      } else if (!atEnd && in[i] >= 0xC2 && in[i] <= 0xF4) {
        pieceEnds = true;  // a sequence the next piece may complete
        break;
      }
      std::size_t length = SequenceLength(in + i, n - i);
      if (length == 0 || IsStandIn(in + i, n - i)) {
        o = PutStandIn(in[i], o);
        ++i;
      } else {
        std::memcpy(o, in + i, length);
        o += length;
        i += length;
      }
    }
  }
  if (consumed) *consumed = i;
  return static_cast<std::size_t>(o - start);
}

std::string Utf8FileCodec::Decode(std::string_view bytes) {
  std::string result(DecodedBound(bytes.size()), '\0');
  result.resize(DecodeChunk(bytes, true, result.data(), nullptr));
  return result;
}

std::size_t Utf8FileCodec::DecodedLength(std::string_view bytes) {
  constexpr std::size_t kPiece = 1 << 16;
  std::string scratch(DecodedBound(kPiece), '\0');
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::string_view piece = bytes.substr(pos, kPiece);
    std::size_t used = 0;
    length += DecodeChunk(piece, pos + piece.size() == bytes.size(), scratch.data(), &used);
    pos += used;
  }
  return length;
}

std::string Utf8FileCodec::Encode(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const void* found = std::memchr(text.data() + pos, 0xEF, text.size() - pos);
    std::size_t at = found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : text.size();
    bytes.append(text, pos, at - pos);
    if (at == text.size()) break;
    const auto* p = reinterpret_cast<const Byte*>(text.data() + at);
    if (IsStandIn(p, text.size() - at)) {
      bytes.push_back(static_cast<char>(0x80 + ((p[1] - 0x9E) << 6) + (p[2] & 0x3F)));
      pos = at + 3;
    } else {
      bytes.push_back(static_cast<char>(p[0]));
      pos = at + 1;
    }
  }
  return bytes;
}

std::size_t Utf8FileCodec::EncodedLength(std::string_view text) {
  std::size_t standIns = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const void* found = std::memchr(text.data() + pos, 0xEF, text.size() - pos);
    if (!found) break;
    std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    if (IsStandIn(reinterpret_cast<const Byte*>(text.data() + at), text.size() - at)) {
      ++standIns;
      pos = at + 3;
    } else {
      pos = at + 1;
    }
  }
  return text.size() - 2 * standIns;
}

}  // namespace kanji
