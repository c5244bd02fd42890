// The piece-by-piece load on arbitrary bytes, at every instruction-set
// level: DecodeChunk over pieces (sizes taken from the text's own bytes, two
// bytes or more, so every piece uses at least one) joins to the whole
// decode, each piece writing within DecodedBound of its size.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ShiftJisCodec.h"
#include "FuzzChecks.h"

namespace {

using kanji::ShiftJisCodec;

using fuzz::Require;

void Check(std::string_view bytes) {
  std::string joined;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::size_t piece = std::min<std::size_t>(bytes.size() - pos, 2 + static_cast<unsigned char>(bytes[pos]) % 31u);
    std::string buffer(ShiftJisCodec::DecodedBound(piece), '\0');
    std::size_t consumed = 0;
    std::size_t written =
        ShiftJisCodec::DecodeChunk(bytes.substr(pos, piece), pos + piece == bytes.size(), buffer.data(), &consumed);
    Require(consumed > 0 && consumed <= piece && written <= buffer.size());
    joined.append(buffer, 0, written);
    pos += consumed;
  }
  Require(joined == ShiftJisCodec::Decode(bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::AtEveryInstructionSetLevel([&] { Check(bytes); });
  return 0;
}
