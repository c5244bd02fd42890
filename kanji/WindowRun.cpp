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

Progress Run(Direction direction, const unsigned char* in, std::size_t n, unsigned char* out) {
  Progress progress{0, out, false};
#if defined(KB_AVX512_WINDOWS)
  if (UseAvx512()) {
    RunAvx512(direction, in, n, progress);
    return progress;
  }
#endif
#if defined(KB_AVX2_WINDOWS)
  if (UseAvx2()) {
    RunAvx2(direction, in, n, progress);
    return progress;
  }
#endif
  RunBaseline(direction, in, n, progress);
  return progress;
}

}  // namespace kanji::windows
