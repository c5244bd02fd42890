// The Shift-JIS codec on arbitrary bytes, at every instruction-set level:
// decoding then encoding gives the bytes back, and any bytes taken as UTF-8
// encode without harm, with the length that EncodedLength predicts; the
// text given to other programs encodes to the standard pairs of the bytes.
// The UTF-8 file codec likewise gives every byte back, from well-formed text.

#include <cstdlib>
#include <string_view>

#include "ShiftJisCodec.h"
#include "FuzzChecks.h"
#include "Utf8FileCodec.h"

namespace {

using kanji::ShiftJisCodec;

using fuzz::Require;

void Check(std::string_view bytes) {
  std::string utf8 = ShiftJisCodec::Decode(bytes);
  kanji::EncodeResult back = ShiftJisCodec::Encode(utf8);
  Require(back.bytes == bytes && back.unencodable.empty());
  Require(ShiftJisCodec::EncodedLength(utf8) == bytes.size());
  // The text others read saves in the forms JIS and EUC know, which the
  // encoder writes straight away when asked.
  const std::string standard = ShiftJisCodec::StandardPairs(bytes);
  Require(ShiftJisCodec::Encode(ShiftJisCodec::StandardText(utf8)).bytes == standard);
  std::string direct(ShiftJisCodec::EncodedBound(utf8.size()), '\0');
  direct.resize(ShiftJisCodec::EncodeInto(utf8, direct.data(), nullptr, ShiftJisCodec::HeldPairs::Standard));
  Require(direct == standard);
  kanji::EncodeResult asUtf8 = ShiftJisCodec::Encode(bytes);
  Require(ShiftJisCodec::EncodedLength(bytes) == asUtf8.bytes.size());
  std::string text = kanji::Utf8FileCodec::Decode(bytes);
  Require(kanji::Utf8FileCodec::IsWellFormed(text));
  Require(kanji::Utf8FileCodec::Encode(text) == bytes);
  Require(kanji::Utf8FileCodec::DecodedLength(bytes) == text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::AtEveryInstructionSetLevel([&] { Check(bytes); });
  return 0;
}
