#include "DocumentFilePieces.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "PieceThread.h"
#include "ShiftJisCodec.h"
#include "Utf8FileCodec.h"

namespace {

using kanji::ShiftJisCodec;
using kanji::Utf8FileCodec;

std::string RepeatedTo(std::size_t size, const std::string& unit) {
  std::string text;
  while (text.size() < size) text += unit;
  text.resize(size);
  return text;
}

// Shift-JIS with pairs, half-width kana, a lone lead byte and a raw byte,
// so that piece ends fall inside characters of every kind.
std::string MixedShiftJis(std::size_t size) {
  return RepeatedTo(size, "\x88\x9f\x8c\xea abc\xb1\xb2\r\n\x82\xa0\xff\x81");
}

// UTF-8 with three- and four-byte characters and bytes that are no UTF-8.
std::string MixedUtf8(std::size_t size) {
  return RepeatedTo(size, "\xe5\x90\xbe\xe8\xbc\xa9 \xf0\x9f\x98\x80 abc\xff\xc3\r\n");
}

// Decoded as the control's fill does it: on another thread, piece by piece.
std::string DecodeOnThread(const std::string& text, std::size_t pieceSize, ChunkDecoder decode) {
  auto readAndDecode = [&](const PieceThread::Hand& hand) {
    PieceFeeder decoder(DecodingPieces(decode), hand);
    for (std::size_t pos = 0; pos < text.size(); pos += pieceSize) decoder.Feed(std::string_view(text).substr(pos, pieceSize));
    decoder.Finish();
    return true;
  };
  std::string decoded;
  PieceThread::Run(readAndDecode, [&](std::string_view piece) { decoded.append(piece); }, true);
  return decoded;
}

std::string DecodeHere(const std::string& text, std::size_t pieceSize, ChunkDecoder decode) {
  std::string decoded;
  PieceFeeder decoder(DecodingPieces(decode), [&](std::string_view piece) { decoded.append(piece); });
  for (std::size_t pos = 0; pos < text.size(); pos += pieceSize) decoder.Feed(std::string_view(text).substr(pos, pieceSize));
  decoder.Finish();
  return decoded;
}

}  // namespace

// Piece ends inside pairs, after a lone lead byte and inside four-byte
// UTF-8: the pieces join to the whole text's decode, whatever their size.
TEST(DecodingPieces, PiecesOfEverySizeJoinToTheWholeDecode) {
  const std::string shiftJis = MixedShiftJis(301);
  const std::string utf8 = MixedUtf8(301);
  const std::string wholeShiftJis = ShiftJisCodec::Decode(shiftJis);
  const std::string wholeUtf8 = DecodeHere(utf8, utf8.size(), &Utf8FileCodec::DecodeChunk);
  for (std::size_t pieceSize : {1, 2, 3, 5, 7, 16, 17, 64, 300}) {
    SCOPED_TRACE(pieceSize);
    EXPECT_EQ(DecodeHere(shiftJis, pieceSize, &ShiftJisCodec::DecodeChunk), wholeShiftJis);
    EXPECT_EQ(DecodeHere(utf8, pieceSize, &Utf8FileCodec::DecodeChunk), wholeUtf8);
  }
}

// A text that ends in a lead byte keeps it: it decodes as a raw byte.
TEST(DecodingPieces, ALeadByteAtTheVeryEndIsDecodedNotDropped) {
  const std::string text = "abc\x88";
  for (std::size_t pieceSize : {1, 2, 4})
    EXPECT_EQ(DecodeHere(text, pieceSize, &ShiftJisCodec::DecodeChunk), ShiftJisCodec::Decode(text)) << pieceSize;
}

// A decoder that takes whole blocks of 20 bytes only: what it leaves can be
// longer than the few bytes of the next piece tried with it first.
std::size_t BlockCopy(std::string_view input, bool atEnd, char* out, std::size_t* consumed) {
  *consumed = atEnd ? input.size() : input.size() - input.size() % 20;
  std::copy_n(input.data(), *consumed, out);
  return *consumed;
}

TEST(DecodingPieces, WhatADecoderLeavesIsKeptWithTheRestOfThePiece) {
  std::string text;
  for (int i = 0; i < 500; ++i) text += static_cast<char>('a' + i % 26);
  for (std::size_t pieceSize : {7, 19, 21, 33, 100})
    EXPECT_EQ(DecodeHere(text, pieceSize, &BlockCopy), text) << pieceSize;
}

TEST(DecodingPieces, DecodedOnAnotherThreadGivesTheSameText) {
  const std::string shiftJis = MixedShiftJis(3'000'001);
  EXPECT_EQ(DecodeOnThread(shiftJis, 4093, &ShiftJisCodec::DecodeChunk), ShiftJisCodec::Decode(shiftJis));
}
