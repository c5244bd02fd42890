// One conversion routine (chosen by KB_FUZZ_ROUTINE at build time) on
// arbitrary bytes: the block routine equals the plain one, stays within its
// bound, and the NUL-terminated form reads nothing past the terminator.

#include <cstdlib>
#include <cstring>
#include <vector>

#include "CKanjiConverter.h"
#include "KanjiTranscoder.h"
#include "reference/ReferenceConverter.h"

namespace {

using kanji::Byte;

struct Target {
  std::size_t (*fast)(const Byte*, std::size_t, Byte*);
  std::size_t (*plain)(const Byte*, std::size_t, Byte*);
  std::size_t (*bound)(std::size_t);  // terminator included
};

std::size_t OnePass(std::size_t n) { return n + 1; }

const Target kTargets[] = {
    {kanji::SjisToJisBytes, kanji::reference::SjisToJis, SjisToJisBound},
    {kanji::EucToJisBytes, kanji::reference::EucToJis, EucToJisBound},
    {kanji::JisToSjisBytes, kanji::reference::JisToSjis, JisToSjisBound},
    {kanji::JisToEucBytes, kanji::reference::JisToEuc, JisToEucBound},
    {kanji::SjisToEucBytes, nullptr, OnePass},
    {kanji::EucToSjisBytes, nullptr, OnePass},
    {[](const Byte* in, std::size_t n, Byte* out) { return kanji::ConvertLineEndBytes(in, n, out, 3); },
     [](const Byte* in, std::size_t n, Byte* out) { return kanji::reference::ConvertLineEnd(in, n, out, 3); },
     ConvertLineEndBound},
    {nullptr, nullptr, nullptr},  // detection
};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const Byte* data, std::size_t size) {
  const Target& target = kTargets[KB_FUZZ_ROUTINE];
  if (!target.fast) {
    std::vector<Byte> terminated(data, data + size);
    terminated.push_back(0);
    Require(CKanjiConverter().DetectCode(terminated.data()) == kanji::reference::DetectCode(data, size));
    return 0;
  }
  // Exactly the room the routine is allowed, so any overrun is caught.
  std::vector<Byte> in(data, data + size);
  std::vector<Byte> out(target.bound(size) - 1);
  std::size_t written = target.fast(in.data(), size, out.data());
  Require(written <= out.size());
  if (target.plain) {
    std::vector<Byte> expected(target.bound(size));
    std::size_t expectedLength = target.plain(in.data(), size, expected.data());
    Require(written == expectedLength);
    Require(written == 0 || std::memcmp(out.data(), expected.data(), written) == 0);
  }
  return 0;
}
