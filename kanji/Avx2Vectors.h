#pragma once

// The 32-byte vector operations (AVX2), members as in Sse2Vectors.h.
//
// Included only by the source file built with AVX2 enabled, and kept in an
// unnamed namespace there: with internal linkage, nothing compiled for
// AVX2 can be shared with, and run by, code meant for processors without it.

#include <immintrin.h>

#include <cstdint>

namespace kanji {
namespace {

struct Avx2Vectors {
  using Vec = __m256i;
  static constexpr int kBytes = 32;

  static Vec Load(const unsigned char* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
  static void Store(unsigned char* p, Vec v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

  static std::uint32_t HighBits(Vec v) { return static_cast<std::uint32_t>(_mm256_movemask_epi8(v)); }
  static std::uint32_t EqualBits(Vec v, unsigned char b) {
    return HighBits(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(static_cast<char>(b))));
  }
  static Vec FlipHighBits(Vec v) { return _mm256_xor_si256(v, _mm256_set1_epi8(static_cast<char>(0x80))); }

  static Vec ByteMask(std::uint32_t bits) {
    const Vec whichByte = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1,  //
                                           2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3);
    Vec spread = _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(bits)), whichByte);
    Vec bit = _mm256_set1_epi64x(static_cast<long long>(0x8040'2010'0804'0201ull));
    return _mm256_cmpeq_epi8(_mm256_and_si256(spread, bit), bit);
  }
  static Vec ShiftInByte(Vec v, Vec before) {
    return _mm256_alignr_epi8(v, _mm256_permute2x128_si256(before, v, 0x21), 15);
  }
  static Vec Select(Vec mask, Vec yes, Vec no) { return _mm256_blendv_epi8(no, yes, mask); }

  static Vec Lanes(int value) { return _mm256_set1_epi16(static_cast<short>(value)); }
  static Vec And(Vec a, Vec b) { return _mm256_and_si256(a, b); }
  static Vec Or(Vec a, Vec b) { return _mm256_or_si256(a, b); }
  static Vec Xor(Vec a, Vec b) { return _mm256_xor_si256(a, b); }
  static Vec Add(Vec a, Vec b) { return _mm256_add_epi16(a, b); }
  static Vec Sub(Vec a, Vec b) { return _mm256_sub_epi16(a, b); }
  static Vec Greater(Vec a, Vec b) { return _mm256_cmpgt_epi16(a, b); }
  static Vec Equal(Vec a, Vec b) { return _mm256_cmpeq_epi16(a, b); }
  static Vec ShiftLeft(Vec v, int bits) { return _mm256_slli_epi16(v, bits); }
  static Vec ShiftRight(Vec v, int bits) { return _mm256_srli_epi16(v, bits); }
  static Vec ShiftRightSigned(Vec v, int bits) { return _mm256_srai_epi16(v, bits); }

  // 8-bit lanes.
  static Vec Bytes(unsigned char value) { return _mm256_set1_epi8(static_cast<char>(value)); }
  static Vec AddBytes(Vec a, Vec b) { return _mm256_add_epi8(a, b); }
  static Vec SubBytes(Vec a, Vec b) { return _mm256_sub_epi8(a, b); }
  static Vec EqualBytes(Vec a, Vec b) { return _mm256_cmpeq_epi8(a, b); }
  static Vec NegativeBytes(Vec v) { return _mm256_cmpgt_epi8(_mm256_setzero_si256(), v); }  // 0x80 and up
  static Vec AtLeastBytes(Vec v, unsigned char floor) { return EqualBytes(_mm256_max_epu8(v, Bytes(floor)), v); }
};

}  // namespace
}  // namespace kanji
