#include "PieceDecoder.h"

#include <algorithm>

#include "ShiftJisCodec.h"

namespace {
// Enough of the next piece to finish any character the last one began.
constexpr std::size_t kHead = 16;
}  // namespace

std::size_t PieceDecoder::Decode(std::string_view input, bool atEnd) {
  // Both codecs need at most three bytes a byte and 16 of slack.
  const std::size_t room = kanji::ShiftJisCodec::DecodedBound(input.size());
  if (m_buffer.size() < room) m_buffer.resize(room);
  std::size_t consumed = 0;
  std::size_t written = m_decode(input, atEnd, m_buffer.data(), &consumed);
  if (written > 0) m_sink(m_buffer, written);
  m_consumed += consumed;
  return consumed;
}

void PieceDecoder::Feed(std::string_view piece, bool atEnd) {
  if (!m_carried.empty()) {
    std::size_t head = std::min(piece.size(), kHead);
    std::string joined = m_carried + std::string(piece.substr(0, head));
    std::size_t carried = m_carried.size();
    bool lastOfAll = atEnd && head == piece.size();
    std::size_t used = Decode(joined, lastOfAll);
    if (used < carried || head == piece.size()) {
      m_carried = joined.substr(used);
      m_carried.append(piece.substr(head));
      return;
    }
    m_carried.clear();
    piece.remove_prefix(used - carried);
  }
  std::size_t used = Decode(piece, atEnd);
  m_carried.assign(piece.substr(used));
}

void PieceDecoder::Finish() {
  if (m_carried.empty()) return;
  std::string rest;
  rest.swap(m_carried);
  Decode(rest, true);
}
