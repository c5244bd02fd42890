#include "KanjiTranscoder.h"

#include "ByteScan.h"

namespace kanji {
namespace {

constexpr Byte kEsc = 0x1B;
constexpr Byte kCr = 0x0D;
constexpr Byte kLf = 0x0A;

using scan::Block;

// Run predicates, each in its block and its single-byte form.
#if defined(__SSE2__)
const auto kHighStop = [](Block v) { return scan::HighBits(v); };
const auto kEscStop = [](Block v) { return scan::Equal(v, kEsc); };
const auto kLineEndStop = [](Block v) { return scan::Equal(v, kCr) | scan::Equal(v, kLf); };
const auto kDetectStop = [](Block v) {
  return scan::HighBits(v) | scan::Equal(v, kEsc) | scan::Equal(v, 0);
};
const auto kShiftJisOnlyStop = [](Block v) {
  return scan::MaskedEqual(v, 0xE0, 0x80) | scan::Equal(v, 0);
};
#else
const auto kHighStop = [](int) { return 0u; };
const auto kEscStop = kHighStop;
const auto kLineEndStop = kHighStop;
const auto kDetectStop = kHighStop;
const auto kShiftJisOnlyStop = kHighStop;
#endif
const auto kIsHigh = [](Byte b) { return b >= 0x80; };
const auto kIsEsc = [](Byte b) { return b == kEsc; };
const auto kIsLineEnd = [](Byte b) { return b == kCr || b == kLf; };
const auto kEndsSevenBitScan = [](Byte b) { return b >= 0x80 || b == kEsc || b == 0; };
const auto kIsShiftJisOnlyOrEnd = [](Byte b) { return (b >= 0x80 && b <= 0x9F) || b == 0; };

Byte* PutKanjiIn(Byte* o) {
  o[0] = kEsc;
  o[1] = 0x24;
  o[2] = 0x40;
  return o + 3;
}

Byte* PutKanjiOut(Byte* o) {
  o[0] = kEsc;
  o[1] = 0x28;
  o[2] = 0x4A;
  return o + 3;
}

// One Shift-JIS pair (c, d) to its JIS pair; every value of c and d gives
// some pair, and bytes are kept modulo 256.
inline void SjisPairToJis(Byte c, Byte d, Byte* o) {
  int j1 = 2 * (c - (c <= 0x9F ? 0x71 : 0xB1)) + 1;
  if (d > 0x7F) --d;
  if (d >= 0x9E) {
    o[0] = static_cast<Byte>(j1 + 1);
    o[1] = static_cast<Byte>(d - 0x7D);
  } else {
    o[0] = static_cast<Byte>(j1);
    o[1] = static_cast<Byte>(d - 0x1F);
  }
}

// One JIS pair (c, d) to Shift-JIS. The first byte's arithmetic is signed:
// control bytes paired in two-byte mode give (c - 0x21) < 0.
inline void JisPairToSjis(Byte c, Byte d, Byte* o) {
  d = static_cast<Byte>(d + ((c & 1) ? 0x1F : 0x7D));
  int s1 = ((static_cast<int>(c) - 0x21) >> 1) + 0x81;
  if (d >= 0x7F) ++d;
  if (s1 > 0x9F) s1 += 0x40;
  o[0] = static_cast<Byte>(s1);
  o[1] = d;
}

// Shift-JIS and EUC to JIS share one shape: runs of bytes below 0x80 are
// one-byte characters, every byte of 0x80 or more takes the next byte as
// the second of a pair.
template <class PairToJis>
std::size_t EncodeJis(const Byte* in, std::size_t n, Byte* out, PairToJis pairToJis) {
  Byte* o = out;
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = scan::CopySpan(in + i, n - i, o, kHighStop, kIsHigh);
    i += run;
    o += run;
    if (i == n) break;
    if (i + 1 < n) {
      o = PutKanjiIn(o);
      do {
        pairToJis(in[i], in[i + 1], o);
        o += 2;
        i += 2;
      } while (i + 1 < n && in[i] >= 0x80);
      o = PutKanjiOut(o);
    }
    if (i + 1 == n && in[i] >= 0x80) *o++ = in[i++];  // a lead byte cut off by the end
  }
  return static_cast<std::size_t>(o - out);
}

// JIS to Shift-JIS or EUC: escapes switch the mode, other escapes pass
// through, two-byte mode pairs every byte up to the next ESC.
template <class PairFromJis>
std::size_t DecodeJis(const Byte* in, std::size_t n, Byte* out, PairFromJis pairFromJis) {
  Byte* o = out;
  std::size_t i = 0;
  bool twoByte = false;
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
      Byte x = in[i + 1];
      if (x == 0x24) {
        twoByte = true;
      } else if (x == 0x28) {
        twoByte = false;
      } else {
        o[0] = kEsc;
        o[1] = x;
        o[2] = in[i + 2];
        o += 3;
      }
      i += 3;
      continue;
    }
    while (i + 1 < n && in[i] != kEsc) {
      pairFromJis(in[i], in[i + 1], o);
      o += 2;
      i += 2;
    }
    if (i + 1 == n && in[i] != kEsc) *o++ = in[i++];  // a lone byte in two-byte mode
  }
  return static_cast<std::size_t>(o - out);
}

// The fused chains: every character is converted where it stands, with no
// escapes in between, so the one-byte runs are a plain copy.
template <class Pair>
std::size_t ConvertPairs(const Byte* in, std::size_t n, Byte* out, Pair pair) {
  Byte* o = out;
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = scan::CopySpan(in + i, n - i, o, kHighStop, kIsHigh);
    i += run;
    o += run;
    while (i + 1 < n && in[i] >= 0x80) {
      pair(in[i], in[i + 1], o);
      o += 2;
      i += 2;
    }
    if (i + 1 == n && in[i] >= 0x80) *o++ = in[i++];
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace

KanjiCode DetectCodeBytes(const Byte* in, std::size_t n) {
  bool sawKanjiIn = false;
  std::size_t i = 0;
  for (;;) {
    i += scan::Span(in + i, n - i, kDetectStop, kEndsSevenBitScan);
    if (i == n || in[i] == 0) return sawKanjiIn ? KanjiCode::Jis : KanjiCode::None;
    if (in[i] == kEsc) {
      // The byte after ESC is stepped over unexamined, even when it is high.
      if (i + 1 == n || in[i + 1] == 0) return sawKanjiIn ? KanjiCode::Jis : KanjiCode::None;
      if (in[i + 1] == 0x24) sawKanjiIn = true;
      i += 2;
      continue;
    }
    // The first high byte settles it: Shift-JIS uses 0x80-0x9F for lead and
    // trail bytes, EUC only for its single shifts.
    const Byte* rest = in + i + 1;
    std::size_t restLength = n - i - 1;
    std::size_t k = scan::Span(rest, restLength, kShiftJisOnlyStop, kIsShiftJisOnlyOrEnd);
    return (k < restLength && rest[k] != 0) ? KanjiCode::ShiftJis : KanjiCode::Euc;
  }
}

std::size_t SjisToJisBytes(const Byte* in, std::size_t n, Byte* out) {
  return EncodeJis(in, n, out, SjisPairToJis);
}

std::size_t EucToJisBytes(const Byte* in, std::size_t n, Byte* out) {
  return EncodeJis(in, n, out, [](Byte c, Byte d, Byte* o) {
    o[0] = static_cast<Byte>(c ^ 0x80);  // + 0x80 modulo 256
    o[1] = static_cast<Byte>(d ^ 0x80);
  });
}

std::size_t JisToSjisBytes(const Byte* in, std::size_t n, Byte* out) {
  return DecodeJis(in, n, out, JisPairToSjis);
}

std::size_t JisToEucBytes(const Byte* in, std::size_t n, Byte* out) {
  return DecodeJis(in, n, out, [](Byte c, Byte d, Byte* o) {
    o[0] = static_cast<Byte>(c ^ 0x80);
    o[1] = static_cast<Byte>(d ^ 0x80);
  });
}

std::size_t SjisToEucBytes(const Byte* in, std::size_t n, Byte* out) {
  return ConvertPairs(in, n, out, [](Byte c, Byte d, Byte* o) {
    SjisPairToJis(c, d, o);
    o[0] ^= 0x80;
    o[1] ^= 0x80;
  });
}

std::size_t EucToSjisBytes(const Byte* in, std::size_t n, Byte* out) {
  return ConvertPairs(in, n, out, [](Byte c, Byte d, Byte* o) {
    JisPairToSjis(static_cast<Byte>(c ^ 0x80), static_cast<Byte>(d ^ 0x80), o);
  });
}

std::size_t ConvertLineEndBytes(const Byte* in, std::size_t n, Byte* out, int type) {
  if (type < 1 || type > 3) {
    std::memcpy(out, in, n);
    return n;
  }
  Byte* o = out;
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = scan::CopySpan(in + i, n - i, o, kLineEndStop, kIsLineEnd);
    i += run;
    o += run;
    if (i == n) break;
    // CR LF is one line end; a lone CR or LF (and LF CR) is one each.
    i += (in[i] == kCr && i + 1 < n && in[i + 1] == kLf) ? 2 : 1;
    if (type != 2) *o++ = kCr;
    if (type != 1) *o++ = kLf;
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace kanji
