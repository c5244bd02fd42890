#pragma once

// The window loops: the long middle of a text, 64 bytes at a time, for any
// vector set `V` (Sse2Vectors, Avx2Vectors).
//
// Real text switches between one-byte and two-byte characters every few
// dozen bytes. Finding each switch by scanning from the last one chains
// every run's start to the previous run's end and mispredicts the scan's
// exit at nearly every run. Here each window's switches come from masks of
// the whole window at once, and each run between switches is written with
// one fixed-size store of a whole window, the next run overwriting what
// lies past the run's end. The JIS writers, line ends to CR LF and the
// fused chains do not branch on the text (see RunEnd for why that matters
// most when the text comes from memory). The loops stop 128 bytes before
// the end, so every load stays inside the text, and every store stays
// inside the output bound: output runs at most three bytes per input byte
// ahead (JIS writers), one (CR LF) or never ahead (readers, the chains).
//
// Everything here is in an unnamed namespace: the file is compiled once
// for each vector set, and no copy built for AVX2 may stand in for the
// baseline one.

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__BMI__)
#include <immintrin.h>
#endif

#include "JisEscapes.h"
#include "PairArithmetic.h"
#include "VectorWindow.h"
#include "WindowRun.h"

namespace kanji::windows {
namespace {

using Byte = unsigned char;

constexpr std::size_t kWindow = kWindowBytes;
constexpr Byte kCr = 0x0D;
constexpr Byte kLf = 0x0A;

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

// Where the run from the last switch ends: at the next switch (the lowest
// bit of `switches`), or at the window's end when none is left. Without a
// branch: a branch on the text that mispredicts while the window's bytes
// are still on their way from memory throws away every load issued after
// it, so each miss would cost a whole memory round trip.
std::size_t RunEnd(std::uint64_t switches) {
#if defined(__BMI__)
  return static_cast<std::size_t>(_tzcnt_u64(switches));  // 64 when there is none
#else
  constexpr std::uint64_t kTop = std::uint64_t{1} << 63;
  return static_cast<std::size_t>(__builtin_ctzll(switches | kTop)) + (switches == 0);
#endif
}

// `yes` when `condition` holds, else `no`, picked by arithmetic: the
// compiler turns a plain ?: on the mode into a branch.
template <class T>
T Pick(bool condition, T yes, T no) {
  return no ^ ((yes ^ no) & (T{0} - static_cast<T>(condition)));
}

// Writes the first 4 bytes of `word` (what goes between two runs, and
// bytes that the next run overwrites).
void PutWord(Byte* o, std::uint32_t word) { std::memcpy(o, &word, 4); }

// The runs of one window between marks, written without a branch: each
// run is 64 bytes from `putRun(o, start)` (the window's bytes from `start`
// on), the next run overwriting what lies past a run's end, followed by
// what goes in at the mark. The first runs are unrolled, enough for all
// but a few windows in a hundred in Japanese text as in code with Japanese
// comments; a loop does the rest. Past the window's last run, Next
// writes only what the next run will overwrite.
template <class PutRun>
class MarkedRuns {
 public:
  static constexpr int kUnrolled = 5;

  MarkedRuns(PutRun putRun, std::uint64_t marks, Byte* o) : putRun_(putRun), marks_(marks), o_(o) {}

  // Writes every run and after each the first `kLength` bytes of
  // `between` (alternately [0] and [1]) in place of the `kSkip` bytes at
  // its mark; returns the output's end.
  template <std::size_t kLength, std::size_t kSkip>
  [[gnu::always_inline]] Byte* WriteAll(const std::uint32_t (&between)[2]) {
#pragma GCC unroll 8
    for (int k = 0; k < kUnrolled; ++k) Next<kLength, kSkip>(between[k & 1]);
    for (int k = kUnrolled; start_ != kWindow; ++k) Next<kLength, kSkip>(between[k & 1]);
    return o_;
  }

 private:
  template <std::size_t kLength, std::size_t kSkip>
  [[gnu::always_inline]] void Next(std::uint32_t between) {
    std::size_t stop = RunEnd(marks_);
    marks_ &= marks_ - 1;
    putRun_(o_, start_);
    o_ += stop - start_;
    PutWord(o_, between);
    bool marked = stop != kWindow;
    o_ += kLength * marked;
    start_ = stop + kSkip * marked;
  }

  PutRun putRun_;
  std::uint64_t marks_;  // bit k: a run ends before byte k
  Byte* o_;
  std::size_t start_ = 0;
};

// The escapes after the runs of a window that starts in `twoByte` mode:
// runs alternate between the modes, and so do the escapes into the other.
struct RunEscapes {
  explicit RunEscapes(bool twoByte) {
    words[0] = Pick(twoByte, kKanjiOutWord, kKanjiInWord);
    words[1] = words[0] ^ kKanjiOutWord ^ kKanjiInWord;
  }
  std::uint32_t words[2];
};

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

// Converts the pairs of Shift-JIS or EUC windows where they stand, each
// byte picked by masks from the input or a conversion. Windows follow one
// another 64 bytes apart: a pair across a window's end is converted in
// both, each writing its own byte.
template <class V, class Pairs>
class PairsInPlace {
 public:
  // Writes the converted window to `to` (64 bytes); returns the window's
  // leads (bit k: a pair starts at byte k).
  std::uint64_t Convert(const Byte* in, Byte* to) {
    Window<V> raw(in);
    std::uint64_t leads = LeadsOf(raw.Mask([](typename V::Vec v) { return V::HighBits(v); }) & ~trailFirst_);
    std::uint64_t trails = leads << 1 | trailFirst_;
    if constexpr (Pairs::kBytewise) {
      ConvertBytewise(raw, leads | trails, to);
    } else if constexpr (requires(typename V::Vec v) { Pairs::template InPlace<V>(v, v, v, v); }) {
      ConvertByBytes(raw, Window<V>(in + 1), leads, trails, to);
    } else {
      ConvertByAlignments(raw, Window<V>(in + 1), leads, trails, to);
    }
    trailFirst_ = leads >> 63;
    return leads;
  }

  // Whether the last window ended on the first byte of a pair.
  bool LeadLast() const { return trailFirst_ != 0; }
  // Whether the window's byte 0 ends a pair led from the window before.
  std::uint64_t TrailFirst() const { return trailFirst_; }

 private:
  // Nothing to line up: each byte of a pair converts alone.
  void ConvertBytewise(const Window<V>& raw, std::uint64_t inPairs, Byte* to) {
    for (int k = 0; k < Window<V>::kParts; ++k) {
      auto mask = V::ByteMask(static_cast<std::uint32_t>(inPairs >> (k * V::kBytes)));
      V::Store(to + k * V::kBytes, V::Select(mask, Pairs::template Many<V>(raw.part[k]), raw.part[k]));
    }
  }

  // Byte-wise arithmetic sees each byte beside the byte after it: one
  // conversion a vector.
  void ConvertByBytes(const Window<V>& raw, const Window<V>& next, std::uint64_t leads, std::uint64_t trails,
                      Byte* to) {
    for (int k = 0; k < Window<V>::kParts; ++k) {
      int shift = k * V::kBytes;
      auto leadMask = V::ByteMask(static_cast<std::uint32_t>(leads >> shift));
      auto trailMask = V::ByteMask(static_cast<std::uint32_t>(trails >> shift));
      V::Store(to + shift, Pairs::template InPlace<V>(raw.part[k], next.part[k], leadMask, trailMask));
    }
  }

  // Pairs led from an even offset are converted from the window as
  // loaded, pairs led from an odd offset from the window loaded a byte
  // further on (`odd`) and moved back by a byte.
  void ConvertByAlignments(const Window<V>& raw, const Window<V>& odd, std::uint64_t leads, std::uint64_t trails,
                           Byte* to) {
    constexpr std::uint64_t kEvenBits = 0x5555'5555'5555'5555ull;
    std::uint64_t evenBytes = (leads & kEvenBits) | (leads & kEvenBits) << 1;
    std::uint64_t oddBytes = (leads | trails) & ~evenBytes;
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
  }

  std::uint64_t trailFirst_ = 0;  // the next window's byte 0 ends a pair
  typename V::Vec lastOdd_ = V::Lanes(0);
};

// Shift-JIS or EUC to JIS: each switch between one-byte and two-byte
// characters writes the escape into the new mode.
//
// Each window is first converted where it stands (PairsInPlace) into a
// stage; its runs between switches are then 64-byte copies from the
// stage, the next run overwriting what lies past a run's end, with the
// escape written after each. Windows follow one another a fixed 64 bytes
// apart and nothing in a window branches on the text (a window with more
// switches than the unrolled runs, rare in any text, loops over the
// rest): the loads of the next windows never wait for this one to be
// worked out.
template <class V, class Pairs>
class JisEncoder {
 public:
  JisEncoder(Byte* out, bool twoByte) : o_(out), twoByte_(twoByte) {}

  void Convert(const Byte* in) {
    std::uint64_t trailFirst = pairs_.TrailFirst();
    std::uint64_t leads = pairs_.Convert(in, stage_);
    std::uint64_t inPairs = leads | leads << 1 | trailFirst;
    auto fromStage = [this](Byte* o, std::size_t start) { Window<V>(stage_ + start).Store(o); };
    MarkedRuns runs(fromStage, inPairs ^ (inPairs << 1 | std::uint64_t{twoByte_}), o_);
    o_ = runs.template WriteAll<3, 0>(RunEscapes(twoByte_).words);
    twoByte_ = (inPairs >> 63) != 0;
  }

  // Where the windows stopped. A pair across the last window's end has
  // its first byte written: the caller goes back over it, output and all,
  // and finishes the pair in two-byte mode.
  bool LeadLast() const { return pairs_.LeadLast(); }
  Byte* Out() const { return o_; }
  bool TwoByte() const { return twoByte_; }

 private:
  PairsInPlace<V, Pairs> pairs_;
  Byte* o_;
  bool twoByte_;
  // Runs copy 64 bytes from any start up to 64.
  alignas(64) Byte stage_[2 * kWindow] = {};
};

// Line ends to CR LF: a lone CR or LF becomes CR LF, CR LF stays. Each
// window marks its lone CRs and LFs and copies the runs between them, as
// the JIS writers do.
template <class V>
class CrLfWriter {
 public:
  explicit CrLfWriter(Byte* out) : o_(out) {}

  void Convert(const Byte* in) {
    Window<V> w(in);
    std::uint64_t crs = w.Mask([](typename V::Vec v) { return V::EqualBits(v, kCr); });
    std::uint64_t lfs = w.Mask([](typename V::Vec v) { return V::EqualBits(v, kLf); });
    std::uint64_t lfNext = in[kWindow] == kLf;
    std::uint64_t loneLfs = lfs & ~(crs << 1 | crLast_);
    std::uint64_t loneCrs = crs & ~(lfs >> 1 | lfNext << 63);
    crLast_ = crs >> 63;
    crLastOut_ = crLast_ + (loneCrs >> 63);
    std::uint64_t marks = loneLfs | loneCrs;
    // Text already in CR LF has no marks anywhere: the branch goes the
    // same way for long stretches, and the whole-window copy writes
    // nothing past the window. (The runs' stores past it would make the
    // next window's loads wait: with nothing going in, input and output
    // stay a whole number of 4 KiB pages apart, and the processor tells
    // addresses apart by their low twelve bits first.)
    if (marks == 0) {
      w.Store(o_);
      o_ += kWindow;
      return;
    }
    auto fromInput = [in](Byte* o, std::size_t start) { Window<V>(in + start).Store(o); };
    o_ = MarkedRuns(fromInput, marks, o_).template WriteAll<2, 1>({kCrLfWord, kCrLfWord});
  }

  // Where the windows stopped. A CR at the last window's end was written
  // as it is or as CR LF: the caller goes back over it, output and all,
  // to see what follows it.
  bool CrLast() const { return crLast_ != 0; }
  std::size_t CrLastOutput() const { return static_cast<std::size_t>(crLastOut_); }
  Byte* Out() const { return o_; }

 private:
  static constexpr std::uint32_t kCrLfWord = WordOf({kCr, kLf, 0});

  Byte* o_;
  std::uint64_t crLast_ = 0;     // the last window ended on a CR
  std::uint64_t crLastOut_ = 0;  // the bytes written for it
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

// Runs a JIS writer (JisEncoder and the like) over the windows.
template <class Writer>
void WriteWindows(const Byte* in, std::size_t n, Progress& progress) {
  Writer writer(progress.out, progress.twoByte);
  std::size_t i = progress.in;
  for (; n - i >= 2 * kWindow; i += kWindow) writer.Convert(in + i);
  std::size_t back = writer.LeadLast();
  progress = {i - back, writer.Out() - back, writer.TwoByte()};
}

template <class V, class Pairs>
void EncodedWindows(const Byte* in, std::size_t n, Progress& progress) {
  WriteWindows<JisEncoder<V, Pairs>>(in, n, progress);
}

template <class V>
void CrLfWindows(const Byte* in, std::size_t n, Progress& progress) {
  CrLfWriter<V> writer(progress.out);
  std::size_t i = progress.in;
  for (; n - i >= 2 * kWindow; i += kWindow) writer.Convert(in + i);
  progress = {i - writer.CrLast(), writer.Out() - writer.CrLastOutput(), false};
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
    case Direction::LineEndsToCrLf: return CrLfWindows<V>(in, n, progress);
  }
}

}  // namespace
}  // namespace kanji::windows
