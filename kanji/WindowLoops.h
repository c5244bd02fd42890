#pragma once

// The window loops: the long middle of a text, 64 bytes at a time, for any
// vector set `V` (Sse2Vectors, Avx2Vectors).
//
// Real text switches between one-byte and two-byte characters every few
// dozen bytes. Finding each switch by scanning from the last one chains
// every run's start to the previous run's end and mispredicts the scan's
// exit at nearly every run. Here each window's switches come from masks of
// the whole window at once. The JIS writers and readers write each run
// between switches with one fixed-size store of a whole window, the next
// run overwriting what lies past the run's end; the fused chains, whose
// characters keep their places, build each window's output in registers
// and store it once. The loops stop 128 bytes before the end, so every
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
#include "VectorWindow.h"
#include "WindowRun.h"

namespace kanji::windows {
namespace {

using Byte = unsigned char;

constexpr std::size_t kWindow = kWindowBytes;

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

// Shift-JIS or EUC to JIS: each switch between one-byte and two-byte
// characters writes the escape into the new mode.
template <class V, class Pairs>
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
    o = twoByte ? PutKanjiIn(o) : PutKanjiOut(o);
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

// Converts the pairs of windows where they stand. Pairs led from an even
// offset are converted from the window as loaded, pairs led from an odd
// offset from the window loaded a byte further on and moved back by a
// byte; masks pick every byte from the input or one of the two. Windows
// follow one another 64 bytes apart: a pair across a window's end is
// converted in both (its second byte comes from the last window's odd
// conversion).
template <class V, class Pairs>
class PairsInPlace {
 public:
  // Writes the converted window to `to` (64 bytes).
  void Convert(const Byte* in, Byte* to) {
    constexpr std::uint64_t kEvenBits = 0x5555'5555'5555'5555ull;
    Window<V> raw(in);
    Window<V> odd(in + 1);
    std::uint64_t high = raw.Mask([](typename V::Vec v) { return V::HighBits(v); });
    std::uint64_t leads = LeadsOf(high & ~trailFirst_);
    std::uint64_t evenBytes = (leads & kEvenBits) | (leads & kEvenBits) << 1;
    std::uint64_t oddBytes = (leads & ~kEvenBits) | (leads & ~kEvenBits) << 1 | trailFirst_;
    for (int k = 0; k < Window<V>::kParts; ++k) {
      int shift = k * V::kBytes;
      auto evenPairs = Pairs::template Many<V>(raw.part[k]);
      auto oddPairs = Pairs::template Many<V>(odd.part[k]);
      auto oddInPlace = V::ShiftInByte(oddPairs, lastOdd_);
      lastOdd_ = oddPairs;
      auto bytes = V::Select(V::ByteMask(static_cast<std::uint32_t>(evenBytes >> shift)), evenPairs, raw.part[k]);
      bytes = V::Select(V::ByteMask(static_cast<std::uint32_t>(oddBytes >> shift)), oddInPlace, bytes);
      V::Store(to + shift, bytes);
    }
    trailFirst_ = leads >> 63;
  }

  // Whether the last window ended on the first byte of a pair.
  bool LeadLast() const { return trailFirst_ != 0; }

 private:
  std::uint64_t trailFirst_ = 0;  // the next window's byte 0 ends a pair
  typename V::Vec lastOdd_ = V::Lanes(0);
};

// The fused chains: characters keep their places, so each window is
// converted straight into its place in the output and stored once.
// Nothing is written past it: the next window's loads would otherwise
// wait on those stores whenever input and output lie a whole number of
// 4 KiB pages apart (as large buffers usually do), the processor telling
// addresses apart by their low twelve bits first.
template <class V, class Pairs>
void ChainWindows(const Byte* in, std::size_t n, Progress& progress) {
  PairsInPlace<V, Pairs> pairs;
  std::size_t i = progress.in;
  Byte* out = progress.out - i;  // output positions are input positions
  for (; n - i >= 2 * kWindow; i += kWindow) pairs.Convert(in + i, out + i);
  i -= pairs.LeadLast();  // a pair across the last window's end is finished byte by byte
  progress = {i, out + i, pairs.LeadLast()};
}

template <class V, class Pairs>
void EncodedWindows(const Byte* in, std::size_t n, Progress& progress) {
  EachWindow(in, n, progress, [](const Byte* w, Byte*& o, bool& twoByte) { return EncodedWindow<V, Pairs>(w, o, twoByte); });
}

template <class V, class Pairs>
void JisWindows(const Byte* in, std::size_t n, Progress& progress) {
  EachWindow(in, n, progress, [](const Byte* w, Byte*& o, bool& twoByte) { return JisWindow<V, Pairs>(w, o, twoByte); });
}

template <class V>
void RunWith(Direction direction, const Byte* in, std::size_t n, Progress& progress) {
  switch (direction) {
    case Direction::SjisToJis: return EncodedWindows<V, pairs::SjisToJis>(in, n, progress);
    case Direction::EucToJis: return EncodedWindows<V, pairs::FlipHighBit>(in, n, progress);
    case Direction::JisToSjis: return JisWindows<V, pairs::JisToSjis>(in, n, progress);
    case Direction::JisToEuc: return JisWindows<V, pairs::FlipHighBit>(in, n, progress);
    case Direction::SjisToEuc: return ChainWindows<V, pairs::SjisToEuc>(in, n, progress);
    case Direction::EucToSjis: return ChainWindows<V, pairs::EucToSjis>(in, n, progress);
  }
}

}  // namespace
}  // namespace kanji::windows
