#include "KanjiText.h"

#include "ByteScan.h"
#include "CKanjiConverter.h"
#include "KanjiTranscoder.h"
#include "ShiftJisCodec.h"
#include "Utf8FileCodec.h"

namespace kanji {
namespace {

const Byte* Bytes(std::string_view text) { return reinterpret_cast<const Byte*>(text.data()); }

// Runs `routine` into a string of `room` bytes and trims it to what was written.
template <class Routine>
std::string Convert(std::string_view text, std::size_t room, Routine routine) {
  std::string out(room, '\0');
  out.resize(routine(Bytes(text), text.size(), reinterpret_cast<Byte*>(out.data())));
  return out;
}

// Bytes that end a run of one-byte characters JIS and EUC carry as they are.
const auto kNotAsciiCarried = [](Byte b) { return b >= 0x80 || b == 0x00 || b == 0x1B; };
#if defined(__SSE2__)
const auto kAsciiCarriedStop = [](scan::Block v) {
  return Sse2Vectors::HighBits(v) | Sse2Vectors::EqualBits(v, 0x00) | Sse2Vectors::EqualBits(v, 0x1B);
};
#else
const auto kAsciiCarriedStop = [](int) { return 0u; };
#endif

bool IsJisX0208Row(int row) { return (row >= 1 && row <= 8) || (row >= 16 && row <= 84); }

// Row of the JIS X 0208 table that a Shift-JIS lead and trail fall in.
int JisRow(Byte lead, Byte trail) {
  int row = 2 * (lead - (lead <= 0x9F ? 0x81 : 0xC1)) + 1;
  return trail >= 0x9F ? row + 1 : row;
}

bool CarriedByJisOrEuc(std::string_view text, std::size_t pos, std::size_t length) {
  Byte first = static_cast<Byte>(text[pos]);
  if (length == 1) return first < 0x80 && first != 0x00 && first != 0x1B;
  return IsJisX0208Row(JisRow(first, static_cast<Byte>(text[pos + 1])));
}

}  // namespace

KanjiCode DetectCode(std::string_view text) { return DetectCodeBytes(Bytes(text), text.size()); }

KanjiCode DetectFileCode(std::string_view text) {
  if (Utf8FileCodec::StartsWithByteOrderMark(text)) return KanjiCode::Utf8;
  KanjiCode code = DetectCode(text);
  if (code == KanjiCode::Jis) return code;
  return Utf8FileCodec::LooksLikeUtf8(text) ? KanjiCode::Utf8 : code;
}

std::string ToShiftJis(std::string_view text, KanjiCode from) {
  const std::size_t n = text.size();
  switch (from) {
    case KanjiCode::Jis: return Convert(text, JisToSjisBound(n), JisToSjisBytes);
    case KanjiCode::Euc: return Convert(text, n, EucToSjisBytes);
    default: return std::string(text);
  }
}

std::string FromShiftJis(std::string_view shiftJis, KanjiCode to) {
  const std::size_t n = shiftJis.size();
  switch (to) {
    case KanjiCode::Jis: return Convert(shiftJis, SjisToJisBound(n), SjisToJisBytes);
    case KanjiCode::Euc: return Convert(shiftJis, n, SjisToEucBytes);
    default: return std::string(shiftJis);
  }
}

std::string ConvertLineEnds(std::string_view text, int type) {
  return Convert(text, ConvertLineEndBound(text.size()),
                 [type](const Byte* in, std::size_t n, Byte* out) {
                   return ConvertLineEndBytes(in, n, out, type);
                 });
}

std::vector<TextSpan> FindUncarryable(std::string_view shiftJis, KanjiCode target,
                                      std::size_t limit) {
  std::vector<TextSpan> spans;
  if (target != KanjiCode::Jis && target != KanjiCode::Euc) return spans;
  const Byte* bytes = Bytes(shiftJis);
  for (std::size_t pos = 0; pos < shiftJis.size() && spans.size() < limit;) {
    // Plain ASCII is carried: skip it a block at a time.
    pos += scan::Span(bytes + pos, shiftJis.size() - pos, kAsciiCarriedStop, kNotAsciiCarried);
    if (pos == shiftJis.size()) break;
    std::size_t length = ShiftJisCodec::CharLengthAt(shiftJis, pos);
    if (!CarriedByJisOrEuc(shiftJis, pos, length)) spans.push_back({pos, length});
    pos += length;
  }
  return spans;
}

}  // namespace kanji
