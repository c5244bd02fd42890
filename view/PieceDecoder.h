#pragma once

// Decodes a file's bytes, given in pieces, into the control's UTF-8. A
// character split by a piece's end is carried over and decoded with the
// start of the next piece; only those few bytes are copied, never a piece.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

class PieceDecoder {
 public:
  // Decodes the start of `input` into `out` (room for DecodedBound bytes),
  // leaving an unfinished character unless `atEnd`; returns the bytes
  // written and sets `consumed`.
  using Decoder = std::size_t (*)(std::string_view input, bool atEnd, char* out, std::size_t* consumed);
  // Where each decoded piece goes, in order: the first `length` bytes of
  // `buffer`. The sink may keep the buffer by swapping another string in.
  using Sink = std::function<void(std::string& buffer, std::size_t length)>;

  PieceDecoder(Decoder decode, Sink sink) : m_decode(decode), m_sink(std::move(sink)) {}

  void Feed(std::string_view piece, bool atEnd);
  void Finish();
  // File bytes decoded so far.
  std::size_t Consumed() const { return m_consumed; }

 private:
  std::size_t Decode(std::string_view input, bool atEnd);

  Decoder m_decode;
  Sink m_sink;
  std::string m_buffer;
  std::string m_carried;  // a character begun at a piece's end
  std::size_t m_consumed = 0;
};
