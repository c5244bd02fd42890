#pragma once

// JIS and EUC to and from Shift-JIS a piece at a time, so that neither a
// load nor a save holds a whole converted copy of the text. Each converter
// takes only what ends between two characters and says how much it took;
// PieceFeeder carries the rest over to the next piece. Pieces converted
// this way join to the whole-text conversion of KanjiText.h, byte for byte
// (a JIS save of a text with no one-byte character for a whole piece may
// switch modes once more, which reads as the same characters).

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "KanjiCode.h"

// Every converter: input, whether it is the last of the text, output
// (replaced); returns the input bytes it used.
using PieceConverter = std::function<std::size_t(std::string_view, bool, std::string&)>;

// JIS or EUC to Shift-JIS. A JIS piece may end in two-byte mode: the next
// one goes on in it.
class ToShiftJisPieces {
 public:
  explicit ToShiftJisPieces(KanjiCode from) : m_from(from) {}
  std::size_t operator()(std::string_view bytes, bool atEnd, std::string& out);

 private:
  std::size_t JisCut(std::string_view bytes, bool& twoByteAtCut) const;
  KanjiCode m_from;
  bool m_twoByte = false;
  std::string m_joined;  // a piece that goes on in two-byte mode, after its escape
};

// Shift-JIS to JIS or EUC.
class FromShiftJisPieces {
 public:
  explicit FromShiftJisPieces(KanjiCode to) : m_to(to) {}
  std::size_t operator()(std::string_view shiftJis, bool atEnd, std::string& out);

 private:
  KanjiCode m_to;
};

// A chunk decoder of the kanji codecs (ShiftJisCodec::DecodeChunk,
// Utf8FileCodec::DecodeChunk) as a converter: a file's bytes to the
// control's UTF-8, a character cut by a piece's end left for the next.
using ChunkDecoder = std::size_t (*)(std::string_view bytes, bool atEnd, char* out, std::size_t* consumed);
PieceConverter DecodingPieces(ChunkDecoder decode);

// Hands pieces of a text to a converter and its output on to `each`,
// keeping what the converter left for the next piece.
class PieceFeeder {
 public:
  // Given the output buffer and the length of its output; it may keep the
  // buffer by swapping another string in.
  using BufferSink = std::function<void(std::string& buffer, std::size_t length)>;

  PieceFeeder(PieceConverter convert, BufferSink each) : m_convert(std::move(convert)), m_each(std::move(each)) {}
  PieceFeeder(PieceConverter convert, std::function<void(std::string_view)> each)
      : PieceFeeder(std::move(convert), [each = std::move(each)](std::string& buffer, std::size_t length) {
          each(std::string_view(buffer.data(), length));
        }) {}
  void Feed(std::string_view piece);
  // The end of the text: whatever is left is converted as it is.
  void Finish();

 private:
  std::size_t Convert(std::string_view input, bool atEnd);
  PieceConverter m_convert;
  BufferSink m_each;
  std::string m_carried;
  std::string m_output;
};
