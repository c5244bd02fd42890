#pragma once

// The arithmetic that turns one two-byte character into another (Shift-JIS,
// JIS and EUC pairs), one pair at a time and a vector of pairs at once. Each direction is a small struct
// the converters' loops take as a template argument.


namespace kanji::pairs {

using Byte = unsigned char;

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

// Many pairs at once, the first byte of each in the low half of a 16-bit
// lane; each lane computes what the scalar routine does for one pair. `V` is
// a set of vector operations (Sse2Vectors, Avx2Vectors).
template <class V>
struct PairLanes {
  using Vec = typename V::Vec;
  static Vec Lanes(int value) { return V::Lanes(value); }
  static Vec First(Vec v) { return V::And(v, Lanes(0xFF)); }
  static Vec Second(Vec v) { return V::ShiftRight(v, 8); }
  static Vec Join(Vec first, Vec second) { return V::Or(V::And(first, Lanes(0xFF)), V::ShiftLeft(second, 8)); }
  // All-ones lanes where a > b (values here fit signed 16 bits).
  static Vec Greater(Vec a, int b) { return V::Greater(a, Lanes(b)); }
  static Vec Where(Vec mask, int value) { return V::And(mask, Lanes(value)); }
};

template <class V>
typename V::Vec SjisPairsToJis(typename V::Vec v) {
  using L = PairLanes<V>;
  auto c = L::First(v);
  auto d = L::Second(v);
  auto base = V::Add(L::Lanes(0x71), L::Where(L::Greater(c, 0x9F), 0x40));
  auto j1 = V::Add(V::ShiftLeft(V::Sub(c, base), 1), L::Lanes(1));
  auto trail = V::Add(d, L::Greater(d, 0x7F));  // minus one above 0x7F
  auto upperHalf = L::Greater(trail, 0x9D);
  j1 = V::Sub(j1, upperHalf);
  auto j2 = V::Sub(V::Sub(trail, L::Lanes(0x1F)), L::Where(upperHalf, 0x5E));
  return L::Join(j1, j2);
}

template <class V>
typename V::Vec JisPairsToSjis(typename V::Vec v) {
  using L = PairLanes<V>;
  auto c = L::First(v);
  auto d = L::Second(v);
  auto odd = V::Equal(V::And(c, L::Lanes(1)), L::Lanes(1));
  auto trail = V::Add(d, V::Sub(L::Lanes(0x7D), L::Where(odd, 0x5E)));
  trail = V::And(trail, L::Lanes(0xFF));
  trail = V::Sub(trail, L::Greater(trail, 0x7E));  // plus one from 0x7F
  auto s1 = V::Add(V::ShiftRightSigned(V::Sub(c, L::Lanes(0x21)), 1), L::Lanes(0x81));
  s1 = V::Add(s1, L::Where(L::Greater(s1, 0x9F), 0x40));
  return L::Join(s1, trail);
}

// Shift-JIS pairs converted where they stand, in 8-bit lanes: `next`
// holds the byte after each byte, `leads` / `trails` mark the first and
// second bytes of pairs (all-ones lanes); other bytes are kept. The same
// arithmetic as SjisPairToJis, modulo 256: the first byte gives
// 2c + 0x1F (+ 0x80 from 0xA0 up), plus one where the second byte falls
// in the upper half of the JIS row.
template <class V>
typename V::Vec SjisPairsToJisInPlace(typename V::Vec raw, typename V::Vec next, typename V::Vec leads,
                                      typename V::Vec trails) {
  auto d = V::Select(leads, next, raw);  // each pair's second byte, at both its bytes
  auto trail = V::AddBytes(d, V::NegativeBytes(d));  // minus one above 0x7F
  auto upperHalf = V::AtLeastBytes(trail, 0x9E);
  auto j2 = V::SubBytes(V::SubBytes(trail, V::Bytes(0x1F)), V::And(upperHalf, V::Bytes(0x5E)));
  auto j1 = V::AddBytes(V::AddBytes(raw, raw), V::Bytes(0x1F));
  j1 = V::SubBytes(V::AddBytes(j1, V::And(V::AtLeastBytes(raw, 0xA0), V::Bytes(0x80))), upperHalf);
  return V::Select(leads, j1, V::Select(trails, j2, raw));
}

// Each direction: `One` converts a pair, `Many` a vector of pairs.
struct SjisToJis {
  static constexpr bool kBytewise = false;
  static void One(Byte c, Byte d, Byte* o) { SjisPairToJis(c, d, o); }
  template <class V>
  static typename V::Vec Many(typename V::Vec v) { return SjisPairsToJis<V>(v); }
  template <class V>
  static typename V::Vec InPlace(typename V::Vec raw, typename V::Vec next, typename V::Vec leads,
                                 typename V::Vec trails) {
    return SjisPairsToJisInPlace<V>(raw, next, leads, trails);
  }
};

struct FlipHighBit {  // EUC to JIS and back: + 0x80 modulo 256 on both bytes
  static constexpr bool kBytewise = true;  // each byte alone, whatever its place in the pair
  static void One(Byte c, Byte d, Byte* o) {
    o[0] = static_cast<Byte>(c ^ 0x80);
    o[1] = static_cast<Byte>(d ^ 0x80);
  }
  template <class V>
  static typename V::Vec Many(typename V::Vec v) { return V::FlipHighBits(v); }
};

struct JisToSjis {
  static constexpr bool kBytewise = false;
  static void One(Byte c, Byte d, Byte* o) { JisPairToSjis(c, d, o); }
  template <class V>
  static typename V::Vec Many(typename V::Vec v) { return JisPairsToSjis<V>(v); }
};

struct SjisToEuc {
  static constexpr bool kBytewise = false;
  static void One(Byte c, Byte d, Byte* o) {
    SjisPairToJis(c, d, o);
    o[0] ^= 0x80;
    o[1] ^= 0x80;
  }
  template <class V>
  static typename V::Vec Many(typename V::Vec v) { return V::FlipHighBits(SjisPairsToJis<V>(v)); }
};

struct EucToSjis {
  static constexpr bool kBytewise = false;
  static void One(Byte c, Byte d, Byte* o) {
    JisPairToSjis(static_cast<Byte>(c ^ 0x80), static_cast<Byte>(d ^ 0x80), o);
  }
  template <class V>
  static typename V::Vec Many(typename V::Vec v) { return JisPairsToSjis<V>(V::FlipHighBits(v)); }
};

}  // namespace kanji::pairs
