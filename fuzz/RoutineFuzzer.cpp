// One conversion routine (chosen by KB_FUZZ_ROUTINE at build time) on
// arbitrary bytes, at every instruction-set level the processor has: the
// block routine stays within its bound, gives the same bytes at every
// level, equals the plain reference routine, and the NUL-terminated form
// reads nothing past the terminator. The line-end routine takes its type
// (0-4, so the types that change nothing too) from the first byte.

#include <cstdlib>
#include <cstring>
#include <vector>

#include "CKanjiConverter.h"
#include "KanjiTranscoder.h"
#include "reference/ReferenceConverter.h"
#include "FuzzChecks.h"

namespace {

using kanji::Byte;
using Routine = std::size_t (*)(const Byte*, std::size_t, Byte*, int type);

struct Target {
  Routine fast;
  Routine plain;
  std::size_t (*bound)(std::size_t);  // terminator included
  bool takesType;
  // A byte that the reference chain's second step may misread as the start
  // of an escape (see KanjiTranscoder.h): the reference is compared on the
  // text without it and ESC.
  int escapeMaker;
};

std::size_t OnePass(std::size_t n) { return n + 1; }

template <std::size_t (*F)(const Byte*, std::size_t, Byte*)>
std::size_t Untyped(const Byte* in, std::size_t n, Byte* out, int) {
  return F(in, n, out);
}

const Target kTargets[] = {
    {Untyped<kanji::SjisToJisBytes>, Untyped<kanji::reference::SjisToJis>, SjisToJisBound, false, -1},
    {Untyped<kanji::EucToJisBytes>, Untyped<kanji::reference::EucToJis>, EucToJisBound, false, -1},
    {Untyped<kanji::JisToSjisBytes>, Untyped<kanji::reference::JisToSjis>, JisToSjisBound, false, -1},
    {Untyped<kanji::JisToEucBytes>, Untyped<kanji::reference::JisToEuc>, JisToEucBound, false, -1},
    {Untyped<kanji::SjisToEucBytes>, Untyped<kanji::reference::SjisToEucChained>, OnePass, false, 0xBE},
    {Untyped<kanji::EucToSjisBytes>, Untyped<kanji::reference::EucToSjisChained>, OnePass, false, 0x9B},
    {kanji::ConvertLineEndBytes, kanji::reference::ConvertLineEnd, ConvertLineEndBound, true, -1},
    {nullptr, nullptr, nullptr, false, -1},  // detection
};

constexpr kanji::ProcessorExtensions kLevels[] = {kanji::ProcessorExtensions::All,
                                                  kanji::ProcessorExtensions::UpToAvx2,
                                                  kanji::ProcessorExtensions::None};

using fuzz::Require;

std::vector<Byte> Run(Routine routine, const std::vector<Byte>& in, std::size_t room, int type) {
  // Exactly the room the routine is allowed, so any overrun is caught.
  std::vector<Byte> out(room);
  std::size_t written = routine(in.data(), in.size(), out.data(), type);
  Require(written <= out.size());
  out.resize(written);
  return out;
}

void CheckDetection(const Byte* data, std::size_t size) {
  std::vector<Byte> terminated(data, data + size);
  terminated.push_back(0);
  KanjiCode expected = kanji::reference::DetectCode(data, size);
  for (kanji::ProcessorExtensions level : kLevels) {
    kanji::LimitProcessorExtensions(level);
    Require(CKanjiConverter().DetectCode(terminated.data()) == expected);
  }
}

void CheckConversion(const Target& target, const Byte* data, std::size_t size) {
  int type = 3;
  if (target.takesType) {
    if (size == 0) return;
    type = data[0] % 5;
    ++data;
    --size;
  }
  std::vector<Byte> in(data, data + size);
  std::vector<Byte> clean = in;
  if (target.escapeMaker >= 0)
    for (Byte& b : clean)
      if (b == 0x1B || b == target.escapeMaker) b = 'e';
  std::vector<Byte> expected = Run(target.plain, clean, target.bound(size), type);
  std::vector<Byte> first;
  for (kanji::ProcessorExtensions level : kLevels) {
    kanji::LimitProcessorExtensions(level);
    std::vector<Byte> out = Run(target.fast, in, target.bound(size) - 1, type);
    if (level == kLevels[0]) first = out;
    Require(out == first);
    Require(Run(target.fast, clean, target.bound(size) - 1, type) == expected);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const Byte* data, std::size_t size) {
  const Target& target = kTargets[KB_FUZZ_ROUTINE];
  if (target.fast)
    CheckConversion(target, data, size);
  else
    CheckDetection(data, size);
  kanji::LimitProcessorExtensions(kanji::ProcessorExtensions::All);
  return 0;
}
