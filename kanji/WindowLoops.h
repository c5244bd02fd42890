#pragma once

// The window loops: the long middle of a text, 64 bytes at a time, for any
// vector set `V` (Sse2Vectors, Avx2Vectors).
//
// Real text switches between one-byte and two-byte characters every few
// dozen bytes. Finding each switch by scanning from the last one chains
// every run's start to the previous run's end and mispredicts the scan's
// exit at nearly every run. Here each window's switches come from masks of
// the whole window at once, and each run between them is written with one
// fixed-size store of a whole window, the next run overwriting what lies
// past the run's end. The loops stop 128 bytes before the end, so every
// load stays inside the text, and every store stays inside the output
// bound: output runs at most three bytes per input byte ahead (JIS
// writers) or never ahead (readers, the fused chains).
//
// Everything here is in an unnamed namespace: the file is compiled once
// for each vector set, and no copy built for AVX2 may stand in for the
// baseline one.

#include <cstddef>
#include <cstdint>

#include "JisEscapes.h"
#include "PairArithmetic.h"
#include "WindowRun.h"

namespace kanji::windows {
namespace {

using Byte = unsigned char;

constexpr std::size_t kWindow = 64;

std::uint64_t LowBits(std::size_t count) {
  return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

// The leads of the pairs in a window that starts at a character start. A
// byte of 0x80 or more takes the next byte, whatever it is, so in every
// run of such bytes the leads stand at even distances from the run's
// start; the subtraction finds that parity for every run at once.
std::uint64_t LeadsOf(std::uint64_t high) {
  constexpr std::uint64_t kOddBits = 0xAAAA'AAAA'AAAA'AAAAull;
  return ((((high << 1) | kOddBits) - high) ^ kOddBits) & high;
}

std::size_t FirstSet(std::uint64_t mask) { return static_cast<std::size_t>(__builtin_ctzll(mask)); }

template <class V>
struct Window {
  static constexpr int kParts = static_cast<int>(kWindow) / V::kBytes;
  typename V::Vec part[kParts];

  explicit Window(const Byte* p) {
    for (int k = 0; k < kParts; ++k) part[k] = V::Load(p + k * V::kBytes);
  }
  void Store(Byte* p) const {
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

// Writes the 64 bytes at `from` to `to`, converted as pairs in two-byte mode.
template <class V, class Pairs>
void PutWindow(bool twoByte, const Byte* from, Byte* to) {
  Window<V> w(from);
  if (twoByte) {
    for (auto& part : w.part) part = Pairs::template Many<V>(part);
  }
  w.Store(to);
}

// Runs `convert` (which converts one window and returns the input bytes it
// took) over the text. The window functions are inlined by force: called,
// they would keep `o` and `twoByte`, passed by reference, in memory.
template <class ConvertWindow>
void EachWindow(const Byte* in, std::size_t n, Progress& progress, ConvertWindow convert) {
  std::size_t i = progress.in;
  Byte* o = progress.out;
  bool twoByte = progress.twoByte;
  while (n - i >= 2 * kWindow) i += convert(in + i, o, twoByte);
  progress = {i, o, twoByte};
}

// Shift-JIS or EUC; with kEscapes, each switch between one-byte and
// two-byte characters writes the JIS escape into the new mode.
template <class V, class Pairs, bool kEscapes>
[[gnu::always_inline]] inline std::size_t EncodedWindow(const Byte* in, Byte*& o, bool& twoByte) {
  std::uint64_t leads = LeadsOf(Window<V>(in).Mask([](typename V::Vec v) { return V::HighBits(v); }));
  std::size_t length = kWindow - static_cast<std::size_t>(leads >> 63);  // a pair across the end waits
  std::uint64_t inPairs = leads | leads << 1;
  std::uint64_t switches = (inPairs ^ (inPairs << 1 | std::uint64_t{twoByte})) & LowBits(length);
  std::size_t start = 0;
  for (;;) {
    std::size_t end = switches ? FirstSet(switches) : length;
    PutWindow<V, Pairs>(twoByte, in + start, o);
    o += end - start;
    if (end == length) return length;
    twoByte = !twoByte;
    if constexpr (kEscapes) o = twoByte ? PutKanjiIn(o) : PutKanjiOut(o);
    start = end;
    switches &= switches - 1;
  }
}

// JIS: runs end at escapes; in two-byte mode an ESC in a pair's second
// byte is part of its pair, not an escape.
template <class V, class Pairs>
[[gnu::always_inline]] inline std::size_t JisWindow(const Byte* in, Byte*& o, bool& twoByte) {
  std::uint64_t escapes = Window<V>(in).Mask([](typename V::Vec v) { return V::EqualBits(v, kEsc); });
  std::size_t start = 0;
  for (;;) {
    std::size_t end = escapes ? FirstSet(escapes) : kWindow;
    if (twoByte && (end - start) % 2 == 1) {
      if (escapes) {
        escapes &= escapes - 1;
        continue;
      }
      end = kWindow - 1;  // a pair across the end waits for the next window
    }
    PutWindow<V, Pairs>(twoByte, in + start, o);
    o += end - start;
    start = end;
    if (!escapes) return start;
    o = Escape(in + start, o, twoByte);
    start += 3;
    if (start >= kWindow) return start;
    escapes &= ~std::uint64_t{0} << start;
  }
}

template <class V, class Pairs, bool kEscapes>
void EncodedWindows(const Byte* in, std::size_t n, Progress& progress) {
  EachWindow(in, n, progress, [](const Byte* w, Byte*& o, bool& twoByte) {
    return EncodedWindow<V, Pairs, kEscapes>(w, o, twoByte);
  });
}

template <class V, class Pairs>
void JisWindows(const Byte* in, std::size_t n, Progress& progress) {
  EachWindow(in, n, progress, [](const Byte* w, Byte*& o, bool& twoByte) { return JisWindow<V, Pairs>(w, o, twoByte); });
}

template <class V>
void RunWith(Direction direction, const Byte* in, std::size_t n, Progress& progress) {
  switch (direction) {
    case Direction::SjisToJis: return EncodedWindows<V, pairs::SjisToJis, true>(in, n, progress);
    case Direction::EucToJis: return EncodedWindows<V, pairs::FlipHighBit, true>(in, n, progress);
    case Direction::JisToSjis: return JisWindows<V, pairs::JisToSjis>(in, n, progress);
    case Direction::JisToEuc: return JisWindows<V, pairs::FlipHighBit>(in, n, progress);
    case Direction::SjisToEuc: return EncodedWindows<V, pairs::SjisToEuc, false>(in, n, progress);
    case Direction::EucToSjis: return EncodedWindows<V, pairs::EucToSjis, false>(in, n, progress);
  }
}

}  // namespace
}  // namespace kanji::windows
