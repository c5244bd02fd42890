// The UTF-8 check 32 bytes at a time, for processors with AVX2: each byte
// is judged with its three predecessors by table lookups on nibbles, so
// text of any script goes at the same speed, and a run of ASCII costs one
// test per 128 bytes. Only called where the processor has AVX2.
//
// Every ill-formed case is the AND of three lookups, on the high and low
// nibble of the previous byte and the high nibble of this one (one bit per
// kind of error); what the lookups cannot see, a third or fourth byte that
// should be a continuation, is checked against the bytes two and three
// back.

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kanji::utf8check {
namespace {

using Vec = __m256i;

constexpr std::uint8_t kTooShort = 1 << 0;   // lead or ASCII, then a lead where a continuation is due
constexpr std::uint8_t kTooLong = 1 << 1;    // ASCII, then a continuation
constexpr std::uint8_t kOverlong3 = 1 << 2;  // E0 80-9F
constexpr std::uint8_t kTooLarge = 1 << 3;   // F4 90-BF, F5-FF
constexpr std::uint8_t kSurrogate = 1 << 4;  // ED A0-BF
constexpr std::uint8_t kOverlong2 = 1 << 5;  // C0, C1
constexpr std::uint8_t kTooLarge1000 = 1 << 6;  // F5-FF 80-8F
constexpr std::uint8_t kOverlong4 = 1 << 6;     // F0 80-8F
constexpr std::uint8_t kTwoContinuations = 1 << 7;
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoContinuations;

Vec Table(std::uint8_t a0, std::uint8_t a1, std::uint8_t a2, std::uint8_t a3, std::uint8_t a4, std::uint8_t a5,
          std::uint8_t a6, std::uint8_t a7, std::uint8_t a8, std::uint8_t a9, std::uint8_t a10, std::uint8_t a11,
          std::uint8_t a12, std::uint8_t a13, std::uint8_t a14, std::uint8_t a15) {
  return _mm256_setr_epi8(static_cast<char>(a0), static_cast<char>(a1), static_cast<char>(a2), static_cast<char>(a3),
                          static_cast<char>(a4), static_cast<char>(a5), static_cast<char>(a6), static_cast<char>(a7),
                          static_cast<char>(a8), static_cast<char>(a9), static_cast<char>(a10),
                          static_cast<char>(a11), static_cast<char>(a12), static_cast<char>(a13),
                          static_cast<char>(a14), static_cast<char>(a15), static_cast<char>(a0),
                          static_cast<char>(a1), static_cast<char>(a2), static_cast<char>(a3), static_cast<char>(a4),
                          static_cast<char>(a5), static_cast<char>(a6), static_cast<char>(a7), static_cast<char>(a8),
                          static_cast<char>(a9), static_cast<char>(a10), static_cast<char>(a11),
                          static_cast<char>(a12), static_cast<char>(a13), static_cast<char>(a14),
                          static_cast<char>(a15));
}

Vec HighNibbles(Vec v) { return _mm256_and_si256(_mm256_srli_epi16(v, 4), _mm256_set1_epi8(0x0F)); }
Vec LowNibbles(Vec v) { return _mm256_and_si256(v, _mm256_set1_epi8(0x0F)); }

// The bytes of `input` moved up by N, with the last N of `previous` below.
template <int N>
Vec Previous(Vec input, Vec previous) {
  return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(previous, input, 0x21), 16 - N);
}

struct Checker {
  const Vec byte1High = Table(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
                              kTwoContinuations, kTwoContinuations, kTwoContinuations, kTwoContinuations,
                              kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
                              kTooShort | kTooLarge | kTooLarge1000 | kOverlong4);
  const Vec byte1Low = Table(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry,
                             kCarry | kTooLarge, kCarry | kTooLarge | kTooLarge1000,
                             kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                             kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                             kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
                             kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000 | kSurrogate,
                             kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000);
  const Vec byte2High =
      Table(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
            kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge1000 | kOverlong4,
            kTooLong | kOverlong2 | kTwoContinuations | kOverlong3 | kTooLarge,
            kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge,
            kTooLong | kOverlong2 | kTwoContinuations | kSurrogate | kTooLarge, kTooShort, kTooShort, kTooShort,
            kTooShort);
  // A block whose last bytes begin a sequence the next block must end.
  const Vec incompleteAbove = _mm256_setr_epi8(
      -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
      -1, static_cast<char>(0xF0 - 1), static_cast<char>(0xE0 - 1), static_cast<char>(0xC0 - 1));

  Vec error = _mm256_setzero_si256();
  Vec previous = _mm256_setzero_si256();
  Vec previousIncomplete = _mm256_setzero_si256();

  void Block(Vec input) {
    const Vec prev1 = Previous<1>(input, previous);
    const Vec special = _mm256_and_si256(
        _mm256_and_si256(_mm256_shuffle_epi8(byte1High, HighNibbles(prev1)),
                         _mm256_shuffle_epi8(byte1Low, LowNibbles(prev1))),
        _mm256_shuffle_epi8(byte2High, HighNibbles(input)));
    const Vec prev2 = Previous<2>(input, previous);
    const Vec prev3 = Previous<3>(input, previous);
    const Vec third = _mm256_subs_epu8(prev2, _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
    const Vec fourth = _mm256_subs_epu8(prev3, _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
    const Vec mustContinue = _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
    error = _mm256_or_si256(error, _mm256_xor_si256(mustContinue, special));
    previousIncomplete = _mm256_subs_epu8(input, incompleteAbove);
    previous = input;
  }
  void AsciiBlock(Vec input) {
    error = _mm256_or_si256(error, previousIncomplete);
    previousIncomplete = _mm256_setzero_si256();
    previous = input;
  }
  bool Failed() const { return !_mm256_testz_si256(error, error); }
};

}  // namespace

// Four blocks of 32 bytes at a time. A group of four without a byte of 0x80
// or above costs one OR of the loads and one movemask; in text where
// non-ASCII bytes are scattered (a Japanese comment on every other line)
// nearly every group is checked in full, so the branch stays predictable
// instead of going either way every 64 bytes. The error vector is tested
// once a group: the answer is the same, found at most a group later.
constexpr std::size_t kGroup = 4 * 32;

bool CheckAvx2(const unsigned char* p, std::size_t n, bool* multiByte) {
  Checker checker;
  Vec seen = _mm256_setzero_si256();
  std::size_t i = 0;
  for (; i + kGroup <= n; i += kGroup) {
    const Vec a = _mm256_loadu_si256(reinterpret_cast<const Vec*>(p + i));
    const Vec b = _mm256_loadu_si256(reinterpret_cast<const Vec*>(p + i + 32));
    const Vec c = _mm256_loadu_si256(reinterpret_cast<const Vec*>(p + i + 64));
    const Vec d = _mm256_loadu_si256(reinterpret_cast<const Vec*>(p + i + 96));
    const Vec any = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
    if (_mm256_movemask_epi8(any) == 0) {
      checker.AsciiBlock(d);
      continue;
    }
    seen = _mm256_or_si256(seen, any);
    checker.Block(a);
    checker.Block(b);
    checker.Block(c);
    checker.Block(d);
    if (checker.Failed()) return false;
  }
  // The rest, padded with NUL, which is ASCII and ends nothing early.
  while (i < n) {
    alignas(32) unsigned char tail[32] = {};
    const std::size_t length = n - i < 32 ? n - i : 32;
    std::memcpy(tail, p + i, length);
    const Vec v = _mm256_load_si256(reinterpret_cast<const Vec*>(tail));
    seen = _mm256_or_si256(seen, v);
    checker.Block(v);
    i += length;
  }
  checker.AsciiBlock(_mm256_setzero_si256());  // a sequence begun at the very end is cut short
  *multiByte = _mm256_movemask_epi8(seen) != 0;
  return !checker.Failed();
}

}  // namespace kanji::utf8check
