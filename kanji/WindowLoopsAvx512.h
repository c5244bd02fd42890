#pragma once

// The window loops that AVX-512 does better than AVX2 (WindowLoops.h):
// the JIS writers and readers, 64 bytes at a time in one vector, without
// a branch on the text.
//
// The writers convert each window's pairs where they stand and write its
// runs between switches as in WindowLoops.h, each run moved to the front
// of the vector by one byte permute instead of being reloaded.
//
// The readers find a window's escapes by masks. Where all of them are the
// two that switch modes (as every JIS writer writes), everything follows
// from the masks at once: from its first escape on, a window's mode is
// that of its last escape so far (ModeFlips, and a carry-less
// multiplication for the running parity of the flips), before it the mode
// carried in; the pairs are converted where they stand, and one byte
// compression drops the escapes. A window with any other escape, or an ESC
// where a pair's second byte goes, is read byte by byte as the plain
// routine would.
//
// Included only by the source file built with AVX-512, in an unnamed
// namespace like everything built for an extension (see WindowLoops.h).

#include <immintrin.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "WindowLoops.h"

namespace kanji::windows {
namespace {

// EUC <-> JIS: + 0x80 modulo 256 on the bytes of pairs.
__m512i FlipPairBytes(__m512i raw, std::uint64_t inPairs) {
  return _mm512_mask_add_epi8(raw, inPairs, raw, _mm512_set1_epi8(static_cast<char>(0x80)));
}

// The writers.

// Shift-JIS or EUC pairs converted where they stand: `leads` and
// `trails` mark their first and second bytes, `next` holds the byte after
// each byte (SjisPairsToJisInPlace in PairArithmetic.h, with masks).
template <class Pairs>
__m512i EncodedPairsInPlaceAvx512(__m512i raw, __m512i next, std::uint64_t leads, std::uint64_t trails) {
  if constexpr (std::is_same_v<Pairs, pairs::FlipHighBit>) {
    return FlipPairBytes(raw, leads | trails);
  } else {
    static_assert(std::is_same_v<Pairs, pairs::SjisToJis>);
    __m512i second = _mm512_mask_blend_epi8(leads, raw, next);  // each pair's second byte, at both its bytes
    __m512i trail = _mm512_mask_sub_epi8(second, _mm512_movepi8_mask(second), second, _mm512_set1_epi8(1));
    std::uint64_t upperHalf = _mm512_cmpge_epu8_mask(trail, _mm512_set1_epi8(static_cast<char>(0x9E)));
    __m512i j2 = _mm512_sub_epi8(trail, _mm512_set1_epi8(0x1F));
    j2 = _mm512_mask_sub_epi8(j2, upperHalf, j2, _mm512_set1_epi8(0x5E));
    __m512i j1 = _mm512_add_epi8(_mm512_add_epi8(raw, raw), _mm512_set1_epi8(0x1F));
    j1 = _mm512_mask_add_epi8(j1, _mm512_cmpge_epu8_mask(raw, _mm512_set1_epi8(static_cast<char>(0xA0))), j1,
                              _mm512_set1_epi8(static_cast<char>(0x80)));
    j1 = _mm512_mask_add_epi8(j1, upperHalf, j1, _mm512_set1_epi8(1));
    return _mm512_mask_blend_epi8(leads, _mm512_mask_blend_epi8(trails, raw, j2), j1);
  }
}

// Byte k of the result is byte start + k of v (the bytes past the end
// come round from the front: what the next run overwrites).
__m512i FromByte(__m512i v, std::size_t start) {
  const __m512i index = _mm512_set_epi8(63, 62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48,  //
                                        47, 46, 45, 44, 43, 42, 41, 40, 39, 38, 37, 36, 35, 34, 33, 32,  //
                                        31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16,  //
                                        15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  return _mm512_permutex2var_epi8(v, _mm512_add_epi8(index, _mm512_set1_epi8(static_cast<char>(start))), v);
}

template <class Pairs>
class JisWriterAvx512 {
 public:
  JisWriterAvx512(Byte* out, bool twoByte) : o_(out), twoByte_(twoByte) {}

  void Convert(const Byte* in) {
    __m512i raw = _mm512_loadu_si512(in);
    std::uint64_t leads = LeadsOf(_mm512_movepi8_mask(raw) & ~trailFirst_);
    std::uint64_t trails = leads << 1 | trailFirst_;
    __m512i converted = EncodedPairsInPlaceAvx512<Pairs>(raw, _mm512_loadu_si512(in + 1), leads, trails);
    std::uint64_t inPairs = leads | trails;
    std::uint64_t switches = inPairs ^ (inPairs << 1 | std::uint64_t{twoByte_});
    RunEscapes escapes(twoByte_);
    std::size_t start = 0;
    for (int k = 0; k < kUnrolledRuns; ++k) Next(converted, switches, start, escapes.words[k & 1]);
    for (int k = kUnrolledRuns; start != kWindow; ++k) Next(converted, switches, start, escapes.words[k & 1]);
    twoByte_ = (inPairs >> 63) != 0;
    trailFirst_ = leads >> 63;
  }

  // Where the windows stopped, as JisEncoder says.
  bool LeadLast() const { return trailFirst_ != 0; }
  Byte* Out() const { return o_; }
  bool TwoByte() const { return twoByte_; }

 private:
  static constexpr int kUnrolledRuns = 5;

  // Writes the run from `start` to the next switch (or the end) and the
  // escape after it, as MarkedRuns does from memory. (MarkedRuns with a
  // run source that permutes `converted` measured 8% slower here: the
  // compiler keeps less of it in registers.)
  [[gnu::always_inline]] void Next(__m512i converted, std::uint64_t& switches, std::size_t& start,
                                   std::uint32_t escape) {
    std::size_t stop = RunEnd(switches);
    switches &= switches - 1;
    _mm512_storeu_si512(o_, FromByte(converted, start));
    o_ += stop - start;
    PutWord(o_, escape);
    o_ += 3 * (stop != kWindow);
    start = stop;
  }

  Byte* o_;
  bool twoByte_;
  std::uint64_t trailFirst_ = 0;  // the window's byte 0 ends a pair whose first byte is written
};

template <class Pairs>
void EncodedWindowsAvx512(const Byte* in, std::size_t n, Progress& progress) {
  WriteWindows<JisWriterAvx512<Pairs>>(in, n, progress);
}

// The readers.

// Where the mode flips in a window whose escapes `intoTwoByte` and
// `intoOneByte` switch modes, counted from one-byte mode: at each escape
// into the other mode than the escape before it. An addition carries each
// escape into one mode through everything up to the next escape into the
// other mode, which it reaches and so marks as a flip.
std::uint64_t ModeFlips(std::uint64_t intoTwoByte, std::uint64_t intoOneByte) {
  std::uint64_t startsTwoByte = (~intoTwoByte + intoOneByte + 1) & intoTwoByte;
  std::uint64_t startsOneByte = (~intoOneByte + intoTwoByte) & intoOneByte;
  return startsTwoByte | startsOneByte;
}

// Bit k set where an odd number of `flips` stand at or below k.
std::uint64_t RunningParity(std::uint64_t flips) {
  __m128i product = _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(flips)), _mm_set1_epi64x(-1), 0);
  return static_cast<std::uint64_t>(_mm_cvtsi128_si64(product));
}

// JIS pairs converted where they stand: `leads` and `trails` mark their
// first and second bytes, `previous` holds the byte before each byte.
template <class Pairs>
__m512i DecodedPairsInPlaceAvx512(__m512i raw, __m512i previous, std::uint64_t leads, std::uint64_t trails) {
  if constexpr (std::is_same_v<Pairs, pairs::FlipHighBit>) {
    return FlipPairBytes(raw, leads | trails);
  } else {
    static_assert(std::is_same_v<Pairs, pairs::JisToSjis>);
    // JisPairToSjis modulo 256: the signed halving of c - 0x21 is the
    // unsigned one plus 0x80 when c is below 0x21; the second byte needs
    // only the parity of the first.
    const __m512i k21 = _mm512_set1_epi8(0x21);
    __m512i half = _mm512_and_si512(_mm512_srli_epi16(_mm512_sub_epi8(raw, k21), 1), _mm512_set1_epi8(0x7F));
    __m512i first = _mm512_add_epi8(half, _mm512_set1_epi8(static_cast<char>(0x81)));
    first = _mm512_mask_add_epi8(first, _mm512_cmplt_epu8_mask(raw, k21), first,
                                 _mm512_set1_epi8(static_cast<char>(0x80)));
    first = _mm512_mask_add_epi8(first, _mm512_cmpge_epu8_mask(first, _mm512_set1_epi8(static_cast<char>(0xA0))),
                                 first, _mm512_set1_epi8(0x40));
    __m512i second = _mm512_add_epi8(raw, _mm512_set1_epi8(0x7D));
    second = _mm512_mask_sub_epi8(second, _mm512_test_epi8_mask(previous, _mm512_set1_epi8(1)), second,
                                  _mm512_set1_epi8(0x5E));
    second = _mm512_mask_add_epi8(second, _mm512_cmpge_epu8_mask(second, _mm512_set1_epi8(0x7F)), second,
                                  _mm512_set1_epi8(1));
    return _mm512_mask_blend_epi8(leads, _mm512_mask_blend_epi8(trails, raw, second), first);
  }
}

template <class Pairs>
class JisReaderAvx512 {
 public:
  JisReaderAvx512(Byte* out, bool twoByte) : o_(out), twoByte_(twoByte) {}

  // Converts the window unless the masks cannot (ByteByByte does those);
  // returns whether it did.
  bool Convert(const Byte* in) {
    __m512i raw = _mm512_loadu_si512(in);
    __m512i next = _mm512_loadu_si512(in + 1);
    std::uint64_t skipped = (std::uint64_t{1} << skip_) - 1;  // the end of an escape from the last window
    std::uint64_t escapes = _mm512_cmpeq_epi8_mask(raw, _mm512_set1_epi8(static_cast<char>(kEsc))) & ~skipped;
    std::uint64_t intoTwoByte = escapes & _mm512_cmpeq_epi8_mask(next, _mm512_set1_epi8(0x24));
    std::uint64_t intoOneByte = escapes & _mm512_cmpeq_epi8_mask(next, _mm512_set1_epi8(0x28));
    std::uint64_t escapeBytes = escapes | escapes << 1 | escapes << 2;
    std::uint64_t beforeEscapes = (escapes & (std::uint64_t{0} - escapes)) - 1;  // all bits when there is none
    std::uint64_t twoByteBytes = RunningParity(ModeFlips(intoTwoByte, intoOneByte)) |
                                 (beforeEscapes & (std::uint64_t{0} - std::uint64_t{twoByte_}));
    std::uint64_t leads = LeadsOf(twoByteBytes & ~escapeBytes & ~skipped & ~trailFirst_);
    std::uint64_t unusual = (escapes & ~(intoTwoByte | intoOneByte)) | (escapes & (escapes << 1 | escapes << 2)) |
                            (escapes & (leads << 1 | trailFirst_));
    if (unusual) return false;
    __m512i previous = _mm512_permutex2var_epi8(raw, ShiftInIndex(), lastRaw_);
    lastRaw_ = raw;
    __m512i converted = DecodedPairsInPlaceAvx512<Pairs>(raw, previous, leads, leads << 1 | trailFirst_);
    std::uint64_t kept = ~(escapeBytes | skipped);
    _mm512_storeu_si512(o_, _mm512_maskz_compress_epi8(kept, converted));
    o_ += std::popcount(kept);
    twoByte_ = (twoByteBytes >> 63) != 0;
    trailFirst_ = leads >> 63;
    skip_ = static_cast<std::size_t>((escapes >> 62 & 1) + 2 * (escapes >> 63));
    return true;
  }

  // The window as the byte-wise routines read it, from where the last
  // window left off to where the last character or escape it starts ends.
  [[gnu::noinline]] void ByteByByte(const Byte* in) {
    std::ptrdiff_t i = static_cast<std::ptrdiff_t>(skip_);
    if (trailFirst_) {  // the pair's first byte is written: write the pair again
      i = -1;
      --o_;
    }
    while (i < static_cast<std::ptrdiff_t>(kWindow)) {
      const Byte* p = in + i;
      if (*p == kEsc) {
        o_ = Escape(p, o_, twoByte_);
        i += 3;
      } else if (twoByte_) {
        Pairs::One(p[0], p[1], o_);
        o_ += 2;
        i += 2;
      } else {
        *o_++ = *p;
        ++i;
      }
    }
    skip_ = static_cast<std::size_t>(i) - kWindow;
    trailFirst_ = 0;
    lastRaw_ = _mm512_loadu_si512(in);
  }

  // Where the windows stopped: past an escape or pair that the last window
  // finished, and before a pair whose first byte it wrote (the caller goes
  // back over that byte, output and all).
  std::size_t Overhang() const { return skip_; }
  bool LeadLast() const { return trailFirst_ != 0; }
  Byte* Out() const { return o_; }
  bool TwoByte() const { return twoByte_; }

 private:
  // Byte k from byte k - 1 of the window, byte 0 from byte 63 of the last.
  static __m512i ShiftInIndex() {
    return _mm512_set_epi8(62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47,  //
                           46, 45, 44, 43, 42, 41, 40, 39, 38, 37, 36, 35, 34, 33, 32, 31,  //
                           30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15,  //
                           14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 127);
  }

  Byte* o_;
  bool twoByte_;
  std::size_t skip_ = 0;          // the window's first bytes end an escape already read
  std::uint64_t trailFirst_ = 0;  // the window's byte 0 ends a pair whose first byte is written
  __m512i lastRaw_ = _mm512_setzero_si512();
};

template <class Pairs>
void JisWindowsAvx512(const Byte* in, std::size_t n, Progress& progress) {
  JisReaderAvx512<Pairs> reader(progress.out, progress.twoByte);
  std::size_t i = progress.in;
  // The rare windows the masks cannot do stay out of the loop that does
  // the others, so that loop keeps its constants in registers.
  for (;;) {
    while (n - i >= 2 * kWindow && reader.Convert(in + i)) i += kWindow;
    if (n - i < 2 * kWindow) break;
    reader.ByteByByte(in + i);
    i += kWindow;
  }
  std::size_t back = reader.LeadLast();
  progress = {i + reader.Overhang() - back, reader.Out() - back, reader.TwoByte()};
}

}  // namespace
}  // namespace kanji::windows
