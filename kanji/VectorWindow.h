#pragma once

// Sixty-four bytes held in vectors of any set `V` (Sse2Vectors,
// Avx2Vectors), and the bit masks the scanners and window loops read
// them by. In an unnamed namespace for the reason WindowLoops.h gives.

#include <cstddef>
#include <cstdint>

namespace kanji {
namespace {

constexpr std::size_t kWindowBytes = 64;

template <class V>
struct Window {
  static constexpr int kParts = static_cast<int>(kWindowBytes) / V::kBytes;
  typename V::Vec part[kParts];

  explicit Window(const unsigned char* p) {
    for (int k = 0; k < kParts; ++k) part[k] = V::Load(p + k * V::kBytes);
  }
  void Store(unsigned char* p) const {
    for (int k = 0; k < kParts; ++k) V::Store(p + k * V::kBytes, part[k]);
  }
  // One bit a byte, in byte order, from a per-vector mask.
  template <class Bits>
  std::uint64_t Mask(Bits bits) const {
    std::uint64_t mask = 0;
    for (int k = 0; k < kParts; ++k) mask |= std::uint64_t{bits(part[k])} << (k * V::kBytes);
    return mask;
  }
};

[[maybe_unused]] std::size_t FirstSet(std::uint64_t mask) { return static_cast<std::size_t>(__builtin_ctzll(mask)); }

}  // namespace
}  // namespace kanji
