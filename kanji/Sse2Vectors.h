#pragma once

// The baseline vector operations of x86-64 (SSE2, 16 bytes), in the form the
// window loops and the pair arithmetic take as their `V` argument. The
// 32-byte set with the same members is in Avx2Vectors.h. In an unnamed
// namespace like that one: the scanners built on it are compiled into the
// BMI2 file too.

#include <emmintrin.h>

#include <cstdint>

namespace kanji {
namespace {

struct Sse2Vectors {
  using Vec = __m128i;
  static constexpr int kBytes = 16;

  static Vec Load(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void Store(unsigned char* p, Vec v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

  // One bit a byte, in byte order.
  static std::uint32_t HighBits(Vec v) { return static_cast<std::uint32_t>(_mm_movemask_epi8(v)); }
  static std::uint32_t EqualBits(Vec v, unsigned char b) {
    return HighBits(_mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(b))));
  }
  // Bytes equal to `b` once and-ed with `mask`.
  static std::uint32_t MaskedEqualBits(Vec v, unsigned char mask, unsigned char b) {
    return EqualBits(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(mask))), b);
  }
  static Vec FlipHighBits(Vec v) { return _mm_xor_si128(v, _mm_set1_epi8(static_cast<char>(0x80))); }

  // All-ones bytes where `bits` has a one (bit k for byte k).
  static Vec ByteMask(std::uint32_t bits) {
    constexpr std::uint64_t kEveryByte = 0x0101'0101'0101'0101ull;
    Vec spread = _mm_set_epi64x(static_cast<long long>((bits >> 8 & 0xFF) * kEveryByte),
                                static_cast<long long>((bits & 0xFF) * kEveryByte));
    Vec bit = _mm_set1_epi64x(static_cast<long long>(0x8040'2010'0804'0201ull));
    return _mm_cmpeq_epi8(_mm_and_si128(spread, bit), bit);
  }
  // `v` one byte up, the last byte of `before` coming in first.
  static Vec ShiftInByte(Vec v, Vec before) { return _mm_or_si128(_mm_slli_si128(v, 1), _mm_srli_si128(before, 15)); }
  static Vec Select(Vec mask, Vec yes, Vec no) { return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no)); }

  // 16-bit lanes.
  static Vec Lanes(int value) { return _mm_set1_epi16(static_cast<short>(value)); }
  static Vec And(Vec a, Vec b) { return _mm_and_si128(a, b); }
  static Vec Or(Vec a, Vec b) { return _mm_or_si128(a, b); }
  static Vec Xor(Vec a, Vec b) { return _mm_xor_si128(a, b); }
  static Vec Add(Vec a, Vec b) { return _mm_add_epi16(a, b); }
  static Vec Sub(Vec a, Vec b) { return _mm_sub_epi16(a, b); }
  static Vec Greater(Vec a, Vec b) { return _mm_cmpgt_epi16(a, b); }
  static Vec Equal(Vec a, Vec b) { return _mm_cmpeq_epi16(a, b); }
  static Vec ShiftLeft(Vec v, int bits) { return _mm_slli_epi16(v, bits); }
  static Vec ShiftRight(Vec v, int bits) { return _mm_srli_epi16(v, bits); }
  static Vec ShiftRightSigned(Vec v, int bits) { return _mm_srai_epi16(v, bits); }

  // 8-bit lanes.
  static Vec Bytes(unsigned char value) { return _mm_set1_epi8(static_cast<char>(value)); }
  static Vec AddBytes(Vec a, Vec b) { return _mm_add_epi8(a, b); }
  static Vec SubBytes(Vec a, Vec b) { return _mm_sub_epi8(a, b); }
  static Vec EqualBytes(Vec a, Vec b) { return _mm_cmpeq_epi8(a, b); }
  static Vec NegativeBytes(Vec v) { return _mm_cmpgt_epi8(_mm_setzero_si128(), v); }  // 0x80 and up
  static Vec AtLeastBytes(Vec v, unsigned char floor) { return EqualBytes(_mm_max_epu8(v, Bytes(floor)), v); }
};

}  // namespace
}  // namespace kanji
