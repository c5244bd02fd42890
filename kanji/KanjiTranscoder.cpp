#include "KanjiTranscoder.h"

#include <cstdint>

#include "ByteScan.h"
#include "JisEscapes.h"
#include "PairArithmetic.h"
#include "WindowRun.h"

#if defined(__SSE2__)
#include "Sse2Vectors.h"
#endif

namespace kanji {
namespace {

using windows::Direction;
using windows::Escape;
using windows::kEsc;
using windows::PutKanjiIn;
using windows::PutKanjiOut;
constexpr Byte kCr = 0x0D;
constexpr Byte kLf = 0x0A;

using scan::Block;

// Run predicates, each in its block and its single-byte form.
#if defined(__SSE2__)
const auto kEscStop = [](Block v) { return Sse2Vectors::EqualBits(v, kEsc); };
const auto kLineEndStop = [](Block v) { return Sse2Vectors::EqualBits(v, kCr) | Sse2Vectors::EqualBits(v, kLf); };
const auto kDetectStop = [](Block v) {
  return Sse2Vectors::HighBits(v) | Sse2Vectors::EqualBits(v, kEsc) | Sse2Vectors::EqualBits(v, 0);
};
const auto kHighOrNulStop = [](Block v) { return Sse2Vectors::HighBits(v) | Sse2Vectors::EqualBits(v, 0); };
const auto kShiftJisOnlyStop = [](Block v) {
  return Sse2Vectors::MaskedEqualBits(v, 0xE0, 0x80) | Sse2Vectors::EqualBits(v, 0);
};
#else
const auto kNoBlocks = [](int) { return 0u; };
const auto kEscStop = kNoBlocks;
const auto kLineEndStop = kNoBlocks;
const auto kDetectStop = kNoBlocks;
const auto kHighOrNulStop = kNoBlocks;
const auto kShiftJisOnlyStop = kNoBlocks;
#endif
const auto kIsEsc = [](Byte b) { return b == kEsc; };
const auto kIsLineEnd = [](Byte b) { return b == kCr || b == kLf; };
const auto kEndsSevenBitScan = [](Byte b) { return b >= 0x80 || b == kEsc || b == 0; };
const auto kIsHighOrNul = [](Byte b) { return b >= 0x80 || b == 0; };
const auto kIsShiftJisOnlyOrEnd = [](Byte b) { return (b >= 0x80 && b <= 0x9F) || b == 0; };

#if defined(__SSE2__)
// Where a run of pairs ends inside a block: a mask of the pair starts that
// end it. Shift-JIS and EUC runs end at a pair start below 0x80; JIS
// two-byte runs end at an ESC in a pair start (one in a second byte is
// part of its pair).
inline unsigned EncodedRunEnds(Block v) { return ~Sse2Vectors::HighBits(v) & 0x5555u; }
inline unsigned JisRunEnds(Block v) { return Sse2Vectors::EqualBits(v, kEsc) & 0x5555u; }

// Converts whole blocks of pairs from in[i], the last one up to where the
// run ends; returns false when fewer than 16 bytes are left to look at.
template <class Pairs, class RunEnds>
bool PairBlocks(const Byte* in, std::size_t n, std::size_t& i, Byte*& o, RunEnds runEnds) {
  while (i + 16 <= n) {
    Block v = Sse2Vectors::Load(in + i);
    Sse2Vectors::Store(o, Pairs::template Many<Sse2Vectors>(v));  // bytes past the run's end are overwritten later
    if (unsigned ends = runEnds(v)) {
      unsigned length = static_cast<unsigned>(__builtin_ctz(ends));
      i += length;
      o += length;
      return true;
    }
    i += 16;
    o += 16;
  }
  return false;
}
#endif

// Converts the run of Shift-JIS or EUC pairs that starts at in[i], up to
// the first pair start below 0x80 or a lead cut off by the end.
template <class Pairs>
void EncodedPairRun(const Byte* in, std::size_t n, std::size_t& i, Byte*& o) {
#if defined(__SSE2__)
  if (PairBlocks<Pairs>(in, n, i, o, EncodedRunEnds)) return;
#endif
  for (; i + 1 < n && in[i] >= 0x80; i += 2, o += 2) Pairs::One(in[i], in[i + 1], o);
}

// Converts JIS pairs from in[i] up to the next ESC at a pair start.
template <class Pairs>
void JisPairRun(const Byte* in, std::size_t n, std::size_t& i, Byte*& o) {
#if defined(__SSE2__)
  if (PairBlocks<Pairs>(in, n, i, o, JisRunEnds)) return;
#endif
  for (; i + 1 < n && in[i] != kEsc; i += 2, o += 2) Pairs::One(in[i], in[i + 1], o);
}

// Shift-JIS and EUC to JIS share one shape: runs of bytes below 0x80 are
// one-byte characters, every byte of 0x80 or more takes the next byte as
// the second of a pair.
template <class Pairs>
std::size_t EncodeJis(Direction direction, const Byte* in, std::size_t n, Byte* out) {
  auto [i, o, twoByte] = windows::Run(direction, in, n, out);
  if (twoByte) {
    EncodedPairRun<Pairs>(in, n, i, o);
    o = PutKanjiOut(o);
  }
  while (i < n) {
    std::size_t run = scan::CopyAsciiSpan(in + i, n - i, o);
    i += run;
    o += run;
    if (i == n) break;
    if (i + 1 < n) {
      o = PutKanjiIn(o);
      EncodedPairRun<Pairs>(in, n, i, o);
      o = PutKanjiOut(o);
    }
    if (i + 1 == n && in[i] >= 0x80) *o++ = in[i++];  // a lead byte cut off by the end
  }
  return static_cast<std::size_t>(o - out);
}

// JIS to Shift-JIS or EUC: escapes switch the mode, other escapes pass
// through, two-byte mode pairs every byte up to the next ESC.
template <class Pairs>
std::size_t DecodeJis(Direction direction, const Byte* in, std::size_t n, Byte* out) {
  auto [i, o, twoByte] = windows::Run(direction, in, n, out);
  while (i < n) {
    if (!twoByte) {
      std::size_t run = scan::CopySpan(in + i, n - i, o, kEscStop, kIsEsc);
      i += run;
      o += run;
      if (i == n) break;
    }
    if (in[i] == kEsc) {
      if (n - i < 3) {  // an escape cut off by the end is kept as it is
        while (i < n) *o++ = in[i++];
        break;
      }
      o = Escape(in + i, o, twoByte);
      i += 3;
      continue;
    }
    JisPairRun<Pairs>(in, n, i, o);
    if (i + 1 == n && in[i] != kEsc) *o++ = in[i++];  // a lone byte in two-byte mode
  }
  return static_cast<std::size_t>(o - out);
}

// The fused chains: every character is converted where it stands, with no
// escapes in between, so the one-byte runs are a plain copy.
template <class Pairs>
std::size_t ConvertPairs(Direction direction, const Byte* in, std::size_t n, Byte* out) {
  auto [i, o, twoByte] = windows::Run(direction, in, n, out);
  if (twoByte) EncodedPairRun<Pairs>(in, n, i, o);
  while (i < n) {
    std::size_t run = scan::CopyAsciiSpan(in + i, n - i, o);
    i += run;
    o += run;
    EncodedPairRun<Pairs>(in, n, i, o);
    if (i + 1 == n && in[i] >= 0x80) *o++ = in[i++];
  }
  return static_cast<std::size_t>(o - out);
}

// Line ends: CR LF is one line end; a lone CR or LF (and LF CR) is one
// each. Converting to CR or to LF stops only where a byte changes, so a
// text already in the target form is one block copy.

// To CR or to LF: only the other byte changes. It goes where it is the
// half of a CR LF whose other half is already the target (an LF after a
// CR, a CR before an LF), and becomes the target anywhere else.
template <Byte kTarget>
std::size_t LineEndsToSingle(const Byte* in, std::size_t n, Byte* out) {
  constexpr Byte kOther = kTarget == kCr ? kLf : kCr;
#if defined(__SSE2__)
  auto otherStop = [](Block v) { return Sse2Vectors::EqualBits(v, kOther); };
#else
  auto otherStop = kNoBlocks;
#endif
  Byte* o = out;
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = scan::CopySpan(in + i, n - i, o, otherStop, [](Byte b) { return b == kOther; });
    i += run;
    o += run;
    if (i == n) break;
    bool halfOfCrLf = kTarget == kCr ? (i > 0 && in[i - 1] == kCr) : (i + 1 < n && in[i + 1] == kLf);
    if (!halfOfCrLf) *o++ = kTarget;
    ++i;
  }
  return static_cast<std::size_t>(o - out);
}

std::size_t LineEndsToCrLf(const Byte* in, std::size_t n, Byte* out) {
  [[maybe_unused]] auto [i, o, twoByte] = windows::Run(Direction::LineEndsToCrLf, in, n, out);
  while (i < n) {
    std::size_t run = scan::CopySpan(in + i, n - i, o, kLineEndStop, kIsLineEnd);
    i += run;
    o += run;
    if (i == n) break;
    i += (in[i] == kCr && i + 1 < n && in[i + 1] == kLf) ? 2 : 1;
    *o++ = kCr;
    *o++ = kLf;
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace

namespace {

// The answer once the first byte that settles it (a high byte, a 0x00 or
// the end) is found, given whether a kanji-in escape came before it.
KanjiCode SettledAt(const Byte* in, std::size_t n, std::size_t i, bool sawKanjiIn) {
  if (i == n || in[i] == 0) return sawKanjiIn ? KanjiCode::Jis : KanjiCode::None;
  // The first high byte settles it: Shift-JIS uses 0x80-0x9F for lead and
  // trail bytes, EUC only for its single shifts.
  const Byte* rest = in + i + 1;
  std::size_t restLength = n - i - 1;
  std::size_t k = scan::Span(rest, restLength, kShiftJisOnlyStop, kIsShiftJisOnlyOrEnd);
  return (k < restLength && rest[k] != 0) ? KanjiCode::ShiftJis : KanjiCode::Euc;
}

// Walks the text escape by escape: the byte after an ESC is stepped over
// unexamined, even when it is high.
KanjiCode DetectByEscapes(const Byte* in, std::size_t n) {
  bool sawKanjiIn = false;
  std::size_t i = 0;
  for (;;) {
    i += scan::Span(in + i, n - i, kDetectStop, kEndsSevenBitScan);
    if (i == n || in[i] != kEsc) return SettledAt(in, n, i, sawKanjiIn);
    if (i + 1 == n || in[i + 1] == 0) return sawKanjiIn ? KanjiCode::Jis : KanjiCode::None;
    if (in[i + 1] == 0x24) sawKanjiIn = true;
    i += 2;
  }
}

}  // namespace

// JIS text has an escape every few tens of bytes; the walk above stops at
// each one. Only an ESC right before a byte can change how that byte is
// read, so the first high byte or 0x00 is found without stopping, and the
// first kanji-in escape before it; where an ESC stands right before either,
// the walk decides.
KanjiCode DetectCodeBytes(const Byte* in, std::size_t n) {
  const std::size_t settles = scan::Span(in, n, kHighOrNulStop, kIsHighOrNul);
  auto afterEsc = [in](std::size_t i) { return i > 0 && in[i - 1] == kEsc; };
  if (afterEsc(settles)) return DetectByEscapes(in, n);
  bool sawKanjiIn = false;
  for (std::size_t i = 0; i + 1 < settles; ++i) {
    const void* esc = std::memchr(in + i, kEsc, settles - 1 - i);
    if (!esc) break;
    i = static_cast<std::size_t>(static_cast<const Byte*>(esc) - in);
    if (in[i + 1] != 0x24) continue;
    if (afterEsc(i)) return DetectByEscapes(in, n);
    sawKanjiIn = true;
    break;
  }
  return SettledAt(in, n, settles, sawKanjiIn);
}

std::size_t SjisToJisBytes(const Byte* in, std::size_t n, Byte* out) {
  return EncodeJis<pairs::SjisToJis>(Direction::SjisToJis, in, n, out);
}

std::size_t EucToJisBytes(const Byte* in, std::size_t n, Byte* out) {
  return EncodeJis<pairs::FlipHighBit>(Direction::EucToJis, in, n, out);
}

std::size_t JisToSjisBytes(const Byte* in, std::size_t n, Byte* out) {
  return DecodeJis<pairs::JisToSjis>(Direction::JisToSjis, in, n, out);
}

std::size_t JisToEucBytes(const Byte* in, std::size_t n, Byte* out) {
  return DecodeJis<pairs::FlipHighBit>(Direction::JisToEuc, in, n, out);
}

std::size_t SjisToEucBytes(const Byte* in, std::size_t n, Byte* out) {
  return ConvertPairs<pairs::SjisToEuc>(Direction::SjisToEuc, in, n, out);
}

std::size_t EucToSjisBytes(const Byte* in, std::size_t n, Byte* out) {
  return ConvertPairs<pairs::EucToSjis>(Direction::EucToSjis, in, n, out);
}

std::size_t ConvertLineEndBytes(const Byte* in, std::size_t n, Byte* out, int type) {
  switch (type) {
    case 1: return LineEndsToSingle<kCr>(in, n, out);
    case 2: return LineEndsToSingle<kLf>(in, n, out);
    case 3: return LineEndsToCrLf(in, n, out);
    default:
      if (n > 0) std::memcpy(out, in, n);
      return n;
  }
}

}  // namespace kanji
