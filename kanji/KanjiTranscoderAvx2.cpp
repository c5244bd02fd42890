// The window loops built for AVX2; only called where the processor has it.

#include "Avx2Vectors.h"
#include "WindowLoops.h"

namespace kanji::windows {

void RunAvx2(Direction direction, const unsigned char* in, std::size_t n, Progress& progress) {
  RunWith<Avx2Vectors>(direction, in, n, progress);
}

}  // namespace kanji::windows
