// The Shift-JIS codec on arbitrary bytes: decoding then encoding gives the
// bytes back, and any bytes taken as UTF-8 encode without harm, with the
// length that EncodedLength predicts.

#include <cstdlib>
#include <string_view>

#include "ShiftJisCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  using kanji::ShiftJisCodec;
  std::string utf8 = ShiftJisCodec::Decode(bytes);
  kanji::EncodeResult back = ShiftJisCodec::Encode(utf8);
  if (back.bytes != bytes || !back.unencodable.empty()) std::abort();
  if (ShiftJisCodec::EncodedLength(utf8) != size) std::abort();
  kanji::EncodeResult asUtf8 = ShiftJisCodec::Encode(bytes);
  if (ShiftJisCodec::EncodedLength(bytes) != asUtf8.bytes.size()) std::abort();
  return 0;
}
