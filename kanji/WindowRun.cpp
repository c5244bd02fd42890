#include "WindowRun.h"

#include "ProcessorFeatures.h"

#if defined(__SSE2__)
#include "Sse2Vectors.h"
#include "WindowLoops.h"
#endif

namespace kanji::windows {

void RunBaseline(Direction direction, const unsigned char* in, std::size_t n, Progress& progress) {
#if defined(__SSE2__)
  RunWith<Sse2Vectors>(direction, in, n, progress);
#else
  (void)direction, (void)in, (void)n, (void)progress;  // the byte-wise tail does it all
#endif
}

void Run(Direction direction, const unsigned char* in, std::size_t n, Progress& progress) {
#if defined(KB_AVX2_WINDOWS)
  if (UseAvx2()) return RunAvx2(direction, in, n, progress);
#endif
  RunBaseline(direction, in, n, progress);
}

}  // namespace kanji::windows
