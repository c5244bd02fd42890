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
const auto kEscStop = [](Block v) { return scan::Equal(v, kEsc); };
const auto kLineEndStop = [](Block v) { return scan::Equal(v, kCr) | scan::Equal(v, kLf); };
const auto kDetectStop = [](Block v) {
  return scan::HighBits(v) | scan::Equal(v, kEsc) | scan::Equal(v, 0);
};
const auto kShiftJisOnlyStop = [](Block v) {
  return scan::MaskedEqual(v, 0xE0, 0x80) | scan::Equal(v, 0);
};
#else
const auto kNoBlocks = [](int) { return 0u; };
const auto kEscStop = kNoBlocks;
const auto kLineEndStop = kNoBlocks;
const auto kDetectStop = kNoBlocks;
const auto kShiftJisOnlyStop = kNoBlocks;
#endif
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
// Written without branches: whether d lands in the upper half of a JIS row
// changes from one character to the next and would defeat prediction.
inline void SjisPairToJis(Byte c, Byte d, Byte* o) {
  int j1 = 2 * (c - (c <= 0x9F ? 0x71 : 0xB1)) + 1;
  int trail = d - (d > 0x7F);
  int upperHalf = trail >= 0x9E;
  o[0] = static_cast<Byte>(j1 + upperHalf);
  o[1] = static_cast<Byte>(trail - 0x1F - upperHalf * 0x5E);
}

// One JIS pair (c, d) to Shift-JIS. The first byte's arithmetic is signed:
// control bytes paired in two-byte mode give (c - 0x21) < 0.
inline void JisPairToSjis(Byte c, Byte d, Byte* o) {
  Byte trail = static_cast<Byte>(d + 0x7D - (c & 1) * 0x5E);
  int s1 = ((static_cast<int>(c) - 0x21) >> 1) + 0x81;
  o[0] = static_cast<Byte>(s1 + (s1 > 0x9F) * 0x40);
  o[1] = static_cast<Byte>(trail + (trail >= 0x7F));
}

#if defined(__SSE2__)
// Eight pairs at once, the first byte of each in the low half of a 16-bit
// lane; each lane computes what the scalar routine does for one pair.
inline Block Lanes(int value) { return _mm_set1_epi16(static_cast<short>(value)); }
inline Block FirstBytes(Block v) { return _mm_and_si128(v, Lanes(0xFF)); }
inline Block SecondBytes(Block v) { return _mm_srli_epi16(v, 8); }
inline Block JoinPairs(Block first, Block second) {
  return _mm_or_si128(_mm_and_si128(first, Lanes(0xFF)), _mm_slli_epi16(second, 8));
}
// All-ones lanes where a > b (values here fit signed 16 bits).
inline Block Greater(Block a, int b) { return _mm_cmpgt_epi16(a, Lanes(b)); }
inline Block FlipHighBits(Block v) { return _mm_xor_si128(v, _mm_set1_epi8(static_cast<char>(0x80))); }

Block SjisPairsToJis(Block v) {
  Block c = FirstBytes(v);
  Block d = SecondBytes(v);
  Block base = _mm_add_epi16(Lanes(0x71), _mm_and_si128(Greater(c, 0x9F), Lanes(0x40)));
  Block j1 = _mm_add_epi16(_mm_slli_epi16(_mm_sub_epi16(c, base), 1), Lanes(1));
  Block trail = _mm_add_epi16(d, Greater(d, 0x7F));  // minus one above 0x7F
  Block upperHalf = Greater(trail, 0x9D);
  j1 = _mm_sub_epi16(j1, upperHalf);
  Block j2 = _mm_sub_epi16(_mm_sub_epi16(trail, Lanes(0x1F)), _mm_and_si128(upperHalf, Lanes(0x5E)));
  return JoinPairs(j1, j2);
}

Block JisPairsToSjis(Block v) {
  Block c = FirstBytes(v);
  Block d = SecondBytes(v);
  Block odd = _mm_cmpeq_epi16(_mm_and_si128(c, Lanes(1)), Lanes(1));
  Block trail = _mm_add_epi16(d, _mm_sub_epi16(Lanes(0x7D), _mm_and_si128(odd, Lanes(0x5E))));
  trail = _mm_and_si128(trail, Lanes(0xFF));
  trail = _mm_sub_epi16(trail, Greater(trail, 0x7E));  // plus one from 0x7F
  Block s1 = _mm_add_epi16(_mm_srai_epi16(_mm_sub_epi16(c, Lanes(0x21)), 1), Lanes(0x81));
  s1 = _mm_add_epi16(s1, _mm_and_si128(Greater(s1, 0x9F), Lanes(0x40)));
  return JoinPairs(s1, trail);
}

// Where a run of pairs ends inside a block: a mask of the pair starts that
// end it. Shift-JIS and EUC runs end at a pair start below 0x80; JIS
// two-byte runs end at an ESC in a pair start (one in a second byte is
// part of its pair).
inline unsigned EncodedRunEnds(Block v) { return ~scan::HighBits(v) & 0x5555u; }
inline unsigned JisRunEnds(Block v) { return scan::Equal(v, kEsc) & 0x5555u; }

// Converts whole blocks of pairs from in[i], the last one up to where the
// run ends; returns false when fewer than 16 bytes are left to look at.
template <class Pairs, class RunEnds>
bool PairBlocks(const Byte* in, std::size_t n, std::size_t& i, Byte*& o, RunEnds runEnds) {
  while (i + 16 <= n) {
    Block v = scan::Load(in + i);
    scan::Store(o, Pairs::Eight(v));  // bytes past the run's end are overwritten later
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

// Each direction's pair arithmetic, one pair at a time and, where the
// machine allows, eight at a time.
struct SjisToJisPairs {
  static void One(Byte c, Byte d, Byte* o) { SjisPairToJis(c, d, o); }
#if defined(__SSE2__)
  static Block Eight(Block v) { return SjisPairsToJis(v); }
#endif
};

struct FlipPairs {  // EUC to JIS and back: + 0x80 modulo 256 on both bytes
  static void One(Byte c, Byte d, Byte* o) {
    o[0] = static_cast<Byte>(c ^ 0x80);
    o[1] = static_cast<Byte>(d ^ 0x80);
  }
#if defined(__SSE2__)
  static Block Eight(Block v) { return FlipHighBits(v); }
#endif
};

struct JisToSjisPairs {
  static void One(Byte c, Byte d, Byte* o) { JisPairToSjis(c, d, o); }
#if defined(__SSE2__)
  static Block Eight(Block v) { return JisPairsToSjis(v); }
#endif
};

struct SjisToEucPairs {
  static void One(Byte c, Byte d, Byte* o) {
    SjisPairToJis(c, d, o);
    o[0] ^= 0x80;
    o[1] ^= 0x80;
  }
#if defined(__SSE2__)
  static Block Eight(Block v) { return FlipHighBits(SjisPairsToJis(v)); }
#endif
};

struct EucToSjisPairs {
  static void One(Byte c, Byte d, Byte* o) {
    JisPairToSjis(static_cast<Byte>(c ^ 0x80), static_cast<Byte>(d ^ 0x80), o);
  }
#if defined(__SSE2__)
  static Block Eight(Block v) { return JisPairsToSjis(FlipHighBits(v)); }
#endif
};

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
std::size_t EncodeJis(const Byte* in, std::size_t n, Byte* out) {
  Byte* o = out;
  std::size_t i = 0;
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
std::size_t DecodeJis(const Byte* in, std::size_t n, Byte* out) {
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
    JisPairRun<Pairs>(in, n, i, o);
    if (i + 1 == n && in[i] != kEsc) *o++ = in[i++];  // a lone byte in two-byte mode
  }
  return static_cast<std::size_t>(o - out);
}

// The fused chains: every character is converted where it stands, with no
// escapes in between, so the one-byte runs are a plain copy.
template <class Pairs>
std::size_t ConvertPairs(const Byte* in, std::size_t n, Byte* out) {
  Byte* o = out;
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = scan::CopyAsciiSpan(in + i, n - i, o);
    i += run;
    o += run;
    EncodedPairRun<Pairs>(in, n, i, o);
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
  return EncodeJis<SjisToJisPairs>(in, n, out);
}

std::size_t EucToJisBytes(const Byte* in, std::size_t n, Byte* out) {
  return EncodeJis<FlipPairs>(in, n, out);
}

std::size_t JisToSjisBytes(const Byte* in, std::size_t n, Byte* out) {
  return DecodeJis<JisToSjisPairs>(in, n, out);
}

std::size_t JisToEucBytes(const Byte* in, std::size_t n, Byte* out) {
  return DecodeJis<FlipPairs>(in, n, out);
}

std::size_t SjisToEucBytes(const Byte* in, std::size_t n, Byte* out) {
  return ConvertPairs<SjisToEucPairs>(in, n, out);
}

std::size_t EucToSjisBytes(const Byte* in, std::size_t n, Byte* out) {
  return ConvertPairs<EucToSjisPairs>(in, n, out);
}

std::size_t ConvertLineEndBytes(const Byte* in, std::size_t n, Byte* out, int type) {
  if (type < 1 || type > 3) {
    if (n > 0) std::memcpy(out, in, n);
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
