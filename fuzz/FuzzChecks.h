#pragma once

// What every fuzz target shares: a failed property aborts (libFuzzer keeps
// the input), and the kanji core is checked at each instruction-set level it
// can choose at run time, ending with all of them allowed again.

#include <cstdlib>

#include "ProcessorFeatures.h"

namespace fuzz {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

template <typename Check>
void AtEveryInstructionSetLevel(Check check) {
  for (kanji::ProcessorExtensions level :
       {kanji::ProcessorExtensions::All, kanji::ProcessorExtensions::UpToAvx2, kanji::ProcessorExtensions::None}) {
    kanji::LimitProcessorExtensions(level);
    check();
  }
  kanji::LimitProcessorExtensions(kanji::ProcessorExtensions::All);
}

}  // namespace fuzz
