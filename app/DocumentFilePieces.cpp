#include "DocumentFilePieces.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "CKanjiConverter.h"
#include "KanjiTranscoder.h"
#include "ShiftJisCodec.h"

namespace {

using kanji::Byte;

constexpr char kEsc = '\x1b';
constexpr std::string_view kKanjiIn = "\x1b$B";

bool IsHigh(char c) { return static_cast<Byte>(c) >= 0x80; }

// Shift-JIS and EUC pair every byte of 0x80 or more with the byte after it,
// whatever that is. A byte below 0x80 is either a character or the second
// of a pair, so a character always ends right after it. Without one, the
// piece (which starts at a character) is pairs from its start.
std::size_t AfterLastLowByte(std::string_view text) {
  for (std::size_t i = text.size(); i > 0; --i)
    if (!IsHigh(text[i - 1])) return i;
  return text.size() & ~std::size_t{1};
}

// A JIS writer leaves two-byte mode before a one-byte character and enters
// it again after: cut right after a byte below 0x80 that is a character of
// its own (an even run of high bytes before it), where the whole text is
// in one-byte mode too, and the pieces write the same escapes.
std::size_t AfterLastOneByteCharacter(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0) {
    std::size_t low = end;
    while (low > 0 && IsHigh(text[low - 1])) --low;
    if (low == 0) break;
    std::size_t high = low - 1;  // text[high] is below 0x80
    std::size_t runStart = high;
    while (runStart > 0 && IsHigh(text[runStart - 1])) --runStart;
    if ((high - runStart) % 2 == 0) return high + 1;
    end = runStart;  // text[high] is a second byte: look before its run
  }
  return text.size() & ~std::size_t{1};
}

// Finds ESC bytes from a mask of 64 bytes at a time: JIS text has an
// escape every few tens of bytes, and a search call for each one cost as
// much as the conversion itself.
class EscapeFinder {
 public:
  explicit EscapeFinder(std::string_view bytes) : m_bytes(bytes) {}

  // The first ESC at or after `from`, or the text's size.
  std::size_t From(std::size_t from) {
    while (from < m_bytes.size()) {
      if (from < m_base || from - m_base >= kWindow) Load(from);
      std::uint64_t ahead = m_mask & (~std::uint64_t{0} << (from - m_base));
      if (ahead != 0) return m_base + static_cast<std::size_t>(__builtin_ctzll(ahead));
      from = m_base + kWindow;
    }
    return m_bytes.size();
  }

 private:
  static constexpr std::size_t kWindow = 64;

  void Load(std::size_t base) {
    m_base = base;
    m_mask = 0;
    const char* p = m_bytes.data() + base;
    const std::size_t n = std::min(kWindow, m_bytes.size() - base);
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i esc = _mm_set1_epi8(kEsc);
    for (; i + 16 <= n; i += 16) {
      auto block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, esc)));
      m_mask |= std::uint64_t{hits} << i;
    }
#endif
    for (; i < n; ++i)
      if (p[i] == kEsc) m_mask |= std::uint64_t{1} << i;
  }

  std::string_view m_bytes;
  std::size_t m_base = std::string_view::npos;  // nothing loaded yet
  std::uint64_t m_mask = 0;
};

template <class Routine>
void ConvertInto(std::string_view in, std::size_t room, std::string& out, Routine routine) {
  out.resize(room);
  out.resize(routine(reinterpret_cast<const Byte*>(in.data()), in.size(), reinterpret_cast<Byte*>(out.data())));
}

}  // namespace

// Walks JIS as the reader does (an ESC at a character's start and the two
// bytes after it are an escape; two-byte mode pairs every byte up to such an
// ESC) and finds the last place between characters, one-byte mode first.
std::size_t ToShiftJisPieces::JisCut(std::string_view bytes, bool& twoByteAtCut) const {
  bool twoByte = m_twoByte;
  std::size_t cut = 0, oneByteCut = 0;
  bool cutTwoByte = twoByte;
  auto boundary = [&](std::size_t at) {
    cut = at;
    cutTwoByte = twoByte;
    if (!twoByte) oneByteCut = at;
  };
  const std::size_t n = bytes.size();
  EscapeFinder escapes(bytes);
  for (std::size_t pos = 0; pos < n;) {
    std::size_t esc = n;
    if (!twoByte) {
      esc = escapes.From(pos);
    } else {
      for (std::size_t from = pos; from < n;) {
        std::size_t at = escapes.From(from);
        if (at == n) break;
        if ((at - pos) % 2 == 0) {
          esc = at;
          break;
        }
        from = at + 1;  // the second byte of a pair
      }
      if (esc == n) {
        boundary(pos + ((n - pos) & ~std::size_t{1}));
        break;
      }
    }
    boundary(esc);
    if (esc == n || n - esc < 3) break;
    if (bytes[esc + 1] == '$') twoByte = true;
    else if (bytes[esc + 1] == '(') twoByte = false;
    pos = esc + 3;
    boundary(pos);
  }
  // A cut in one-byte mode needs no escape before the next piece; taken
  // when it leaves little to carry over.
  if (oneByteCut > 0 && (oneByteCut >= n / 2 || oneByteCut == cut)) {
    twoByteAtCut = false;
    return oneByteCut;
  }
  twoByteAtCut = cutTwoByte;
  return cut;
}

std::size_t ToShiftJisPieces::operator()(std::string_view bytes, bool atEnd, std::string& out) {
  if (m_from == KanjiCode::Euc) {
    std::size_t cut = atEnd ? bytes.size() : AfterLastLowByte(bytes);
    ConvertInto(bytes.substr(0, cut), cut, out, kanji::EucToSjisBytes);
    return cut;
  }
  if (m_from != KanjiCode::Jis) {
    out.assign(bytes);
    return bytes.size();
  }
  bool twoByteAtCut = false;
  std::size_t cut = JisCut(bytes, twoByteAtCut);
  if (atEnd) cut = bytes.size();
  std::string_view piece = bytes.substr(0, cut);
  if (m_twoByte) {
    // The reader starts in one-byte mode: the piece goes on in two-byte
    // mode after an escape that writes nothing.
    m_joined.assign(kKanjiIn);
    m_joined.append(piece);
    piece = m_joined;
  }
  ConvertInto(piece, JisToSjisBound(piece.size()), out, kanji::JisToSjisBytes);
  m_twoByte = twoByteAtCut;
  return cut;
}

std::size_t FromShiftJisPieces::operator()(std::string_view shiftJis, bool atEnd, std::string& out) {
  if (m_to == KanjiCode::Euc) {
    std::size_t cut = atEnd ? shiftJis.size() : AfterLastLowByte(shiftJis);
    ConvertInto(shiftJis.substr(0, cut), cut, out, kanji::SjisToEucBytes);
    return cut;
  }
  if (m_to == KanjiCode::Jis) {
    std::size_t cut = atEnd ? shiftJis.size() : AfterLastOneByteCharacter(shiftJis);
    ConvertInto(shiftJis.substr(0, cut), SjisToJisBound(cut), out, kanji::SjisToJisBytes);
    return cut;
  }
  out.assign(shiftJis);
  return shiftJis.size();
}

PieceConverter DecodingPieces(ChunkDecoder decode) {
  return [decode](std::string_view bytes, bool atEnd, std::string& out) {
    // Both codecs need at most three bytes a byte and 16 of slack.
    out.resize(kanji::ShiftJisCodec::DecodedBound(bytes.size()));
    std::size_t consumed = 0;
    out.resize(decode(bytes, atEnd, out.data(), &consumed));
    return consumed;
  };
}

std::size_t PieceFeeder::Convert(std::string_view input, bool atEnd) {
  std::size_t used = m_convert(input, atEnd, m_output);
  if (!m_output.empty()) m_each(m_output, m_output.size());
  return used;
}

// What was carried is joined with the start of the piece only, so that the
// rest of the piece is converted where it is, not copied.
void PieceFeeder::Feed(std::string_view piece) {
  constexpr std::size_t kHead = 4096;
  if (!m_carried.empty()) {
    std::size_t head = std::min(piece.size(), kHead);
    std::string joined = m_carried + std::string(piece.substr(0, head));
    std::size_t carried = m_carried.size();
    std::size_t used = Convert(joined, false);
    if (used < carried || head == piece.size()) {
      m_carried = joined.substr(used);
      m_carried.append(piece.substr(head));
      return;
    }
    piece.remove_prefix(used - carried);
  }
  std::size_t used = Convert(piece, false);
  m_carried.assign(piece.substr(used));
}

void PieceFeeder::Finish() {
  std::string rest;
  rest.swap(m_carried);
  Convert(rest, true);
}
