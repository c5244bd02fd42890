// The editor keeps its text's Shift-JIS length current by measuring each
// insertion and deletion on its own (EncodedLength of the piece's UTF-8).
// That count is right only if lengths add up over pieces cut between
// characters. The input is taken as Shift-JIS, decoded a few characters at
// a time (group sizes taken from the text's own bytes), and at every
// instruction-set level the pieces join to the whole decode and their
// lengths add up to the bytes they came from.

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
  std::size_t total = 0;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::size_t end = pos;
    for (unsigned characters = static_cast<unsigned char>(bytes[pos]) % 7u + 1; characters > 0 && end < bytes.size();
         --characters)
      end += ShiftJisCodec::CharLengthAt(bytes, end);
    std::string piece = ShiftJisCodec::Decode(bytes.substr(pos, end - pos));
    Require(ShiftJisCodec::EncodedLength(piece) == end - pos);
    total += ShiftJisCodec::EncodedLength(piece);
    joined += piece;
    pos = end;
  }
  std::string whole = ShiftJisCodec::Decode(bytes);
  Require(joined == whole);
  Require(total == bytes.size() && ShiftJisCodec::EncodedLength(whole) == total);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  fuzz::AtEveryInstructionSetLevel([&] { Check(bytes); });
  return 0;
}
