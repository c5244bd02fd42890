#pragma once

// Block scanners for the converters' hot loops: they find the end of a run
// of bytes that need no work (plain ASCII, text without ESC, ...) a window
// of 64 bytes at a time, so long runs cost about as much as a memcpy.
//
// Why 64 bytes and not one 16-byte block: runs in real text are tens of
// bytes long, and a loop that leaves after one, two or three blocks at
// random mispredicts its exit at nearly every run. A run shorter than the
// window leaves on the first check, every time.
//
// Each scanner takes two forms of one predicate: `stopMask` gives a 16-bit
// mask of the bytes in a block that end the run, `stops` answers for one byte.

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include "Sse2Vectors.h"
#include "VectorWindow.h"
#endif

namespace kanji::scan {
// Unnamed, so that each file gets its own copy, compiled for its own
// instruction set (see Utf8ToShiftJis.h).
namespace {

using Byte = unsigned char;

#if defined(__SSE2__)
using Block = Sse2Vectors::Vec;
using Blocks = Window<Sse2Vectors>;
#endif

// Number of leading bytes of p[0, n) that do not stop the run.
template <class StopMask, class Stops>
inline std::size_t Span(const Byte* p, std::size_t n, StopMask stopMask, Stops stops) {
  std::size_t i = 0;
#if defined(__SSE2__)
  if (n >= 16) {  // short runs end in their first block
    if (unsigned m = stopMask(Sse2Vectors::Load(p))) return static_cast<unsigned>(__builtin_ctz(m));
    i = 16;
  }
  for (; i + kWindowBytes <= n; i += kWindowBytes) {
    if (std::uint64_t m = Blocks(p + i).Mask(stopMask)) return i + FirstSet(m);
  }
  for (; i + 16 <= n; i += 16) {
    if (unsigned m = stopMask(Sse2Vectors::Load(p + i))) return i + static_cast<unsigned>(__builtin_ctz(m));
  }
#else
  (void)stopMask;
#endif
  while (i < n && !stops(p[i])) ++i;
  return i;
}

// Span, copying the run to `out`. Whole windows are stored before they are
// checked, so up to 63 bytes past the run may be written, never past
// out + n: every caller's output position is at most its input position
// plus what it has already written, and the routines' output bounds leave
// that room.
template <class StopMask, class Stops>
inline std::size_t CopySpan(const Byte* p, std::size_t n, Byte* out, StopMask stopMask, Stops stops) {
  std::size_t i = 0;
#if defined(__SSE2__)
  if (n >= 16) {  // short runs end in their first block
    Block v = Sse2Vectors::Load(p);
    Sse2Vectors::Store(out, v);
    if (unsigned m = stopMask(v)) return static_cast<unsigned>(__builtin_ctz(m));
    i = 16;
  }
  for (; i + kWindowBytes <= n; i += kWindowBytes) {
    Blocks w(p + i);
    w.Store(out + i);
    if (std::uint64_t m = w.Mask(stopMask)) return i + FirstSet(m);
  }
  for (; i + 16 <= n; i += 16) {
    Block v = Sse2Vectors::Load(p + i);
    Sse2Vectors::Store(out + i, v);
    if (unsigned m = stopMask(v)) return i + static_cast<unsigned>(__builtin_ctz(m));
  }
#else
  (void)stopMask;
#endif
  for (; i < n && !stops(p[i]); ++i) out[i] = p[i];
  return i;
}

// The commonest run: bytes below 0x80, which every code here takes as they
// are (ASCII, and Shift-JIS, EUC and UTF-8 outside their multi-byte units).
inline std::size_t AsciiSpan(const Byte* p, std::size_t n) {
#if defined(__SSE2__)
  return Span(p, n, [](Block v) { return Sse2Vectors::HighBits(v); }, [](Byte b) { return b >= 0x80; });
#else
  return Span(p, n, 0, [](Byte b) { return b >= 0x80; });
#endif
}

inline std::size_t CopyAsciiSpan(const Byte* p, std::size_t n, Byte* out) {
#if defined(__SSE2__)
  return CopySpan(p, n, out, [](Block v) { return Sse2Vectors::HighBits(v); }, [](Byte b) { return b >= 0x80; });
#else
  return CopySpan(p, n, out, 0, [](Byte b) { return b >= 0x80; });
#endif
}

}  // namespace
}  // namespace kanji::scan
