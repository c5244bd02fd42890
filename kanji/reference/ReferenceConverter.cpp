#include "reference/ReferenceConverter.h"

namespace kanji::reference {
namespace {

constexpr Byte kEsc = 0x1B;

void Put(Byte*& o, int value) { *o++ = static_cast<Byte>(value); }

void PutKanjiIn(Byte*& o) {
  Put(o, 0x1B);
  Put(o, 0x24);
  Put(o, 0x40);
}

void PutKanjiOut(Byte*& o) {
  Put(o, 0x1B);
  Put(o, 0x28);
  Put(o, 0x4A);
}

template <class Pair>
std::size_t Encode(const Byte* in, std::size_t n, Byte* out, Pair pair) {
  Byte* o = out;
  bool twoByte = false;
  for (std::size_t i = 0; i < n; ++i) {
    Byte c = in[i];
    if (c <= 0x7F) {
      if (twoByte) PutKanjiOut(o);
      twoByte = false;
      Put(o, c);
    } else if (i + 1 == n) {
      if (twoByte) PutKanjiOut(o);
      twoByte = false;
      Put(o, c);
    } else {
      if (!twoByte) PutKanjiIn(o);
      twoByte = true;
      pair(c, in[++i], o);
    }
  }
  if (twoByte) PutKanjiOut(o);
  return static_cast<std::size_t>(o - out);
}

template <class Pair>
std::size_t Decode(const Byte* in, std::size_t n, Byte* out, Pair pair) {
  Byte* o = out;
  bool twoByte = false;
  for (std::size_t i = 0; i < n; ++i) {
    Byte c = in[i];
    if (c == kEsc) {
      if (i + 2 >= n) {
        for (; i < n; ++i) Put(o, in[i]);
        break;
      }
      Byte x = in[i + 1];
      Byte y = in[i + 2];
      i += 2;
      if (x == 0x24) {
        twoByte = true;
      } else if (x == 0x28) {
        twoByte = false;
      } else {
        Put(o, kEsc);
        Put(o, x);
        Put(o, y);
      }
    } else if (!twoByte || i + 1 == n) {
      Put(o, c);
    } else {
      pair(c, in[++i], o);
    }
  }
  return static_cast<std::size_t>(o - out);
}

void SjisPair(Byte c, Byte d, Byte*& o) {
  int j1 = c <= 0x9F ? 2 * (c - 0x71) + 1 : 2 * (c - 0xB1) + 1;
  if (d > 0x7F) d = static_cast<Byte>(d - 1);
  int j2;
  if (d >= 0x9E) {
    j2 = d - 0x7D;
    j1 = j1 + 1;
  } else {
    j2 = d - 0x1F;
  }
  Put(o, j1);
  Put(o, j2);
}

void JisPairToSjis(Byte c, Byte d, Byte*& o) {
  if (c % 2 == 1) {
    d = static_cast<Byte>(d + 0x1F);
  } else {
    d = static_cast<Byte>(d + 0x7D);
  }
  int s1 = ((static_cast<int>(c) - 0x21) >> 1) + 0x81;
  if (d >= 0x7F) d = static_cast<Byte>(d + 1);
  if (s1 > 0x9F) s1 = s1 + 0x40;
  Put(o, s1);
  Put(o, d);
}

void AddHighBit(Byte c, Byte d, Byte*& o) {
  Put(o, c + 0x80);
  Put(o, d + 0x80);
}

}  // namespace

KanjiCode DetectCode(const Byte* in, std::size_t n) {
  if (n == 0 || in[0] == 0) return KanjiCode::None;
  int kanjiIns = 0;
  bool kanjiIn = false;
  for (std::size_t i = 0; i < n && in[i] != 0; ++i) {
    Byte b = in[i];
    if (b >= 0x80) {
      for (std::size_t k = i + 1; k < n && in[k] != 0; ++k)
        if (in[k] >= 0x80 && in[k] <= 0x9F) return KanjiCode::ShiftJis;
      return KanjiCode::Euc;
    }
    if (b == kEsc) {
      if (i + 1 >= n || in[i + 1] == 0) break;
      Byte c = in[++i];
      if (c == 0x24) {
        if (!kanjiIn) ++kanjiIns;
        kanjiIn = true;
      } else if (c == 0x28) {
        kanjiIn = false;
      }
    }
  }
  return kanjiIns > 0 ? KanjiCode::Jis : KanjiCode::None;
}

std::size_t SjisToJis(const Byte* in, std::size_t n, Byte* out) { return Encode(in, n, out, SjisPair); }
std::size_t EucToJis(const Byte* in, std::size_t n, Byte* out) { return Encode(in, n, out, AddHighBit); }
std::size_t JisToSjis(const Byte* in, std::size_t n, Byte* out) { return Decode(in, n, out, JisPairToSjis); }
std::size_t JisToEuc(const Byte* in, std::size_t n, Byte* out) { return Decode(in, n, out, AddHighBit); }

std::size_t ConvertLineEnd(const Byte* in, std::size_t n, Byte* out, int type) {
  Byte* o = out;
  for (std::size_t i = 0; i < n; ++i) {
    Byte c = in[i];
    if ((type < 1 || type > 3) || (c != 0x0D && c != 0x0A)) {
      Put(o, c);
      continue;
    }
    if (c == 0x0D && i + 1 < n && in[i + 1] == 0x0A) ++i;
    if (type == 1 || type == 3) Put(o, 0x0D);
    if (type == 2 || type == 3) Put(o, 0x0A);
  }
  return static_cast<std::size_t>(o - out);
}

std::size_t SjisToEucChained(const Byte* in, std::size_t n, Byte* out) {
  std::vector<Byte> jis(3 * n + 3);
  return JisToEuc(jis.data(), SjisToJis(in, n, jis.data()), out);
}

std::size_t EucToSjisChained(const Byte* in, std::size_t n, Byte* out) {
  std::vector<Byte> jis(3 * n + 3);
  return JisToSjis(jis.data(), EucToJis(in, n, jis.data()), out);
}

}  // namespace kanji::reference
