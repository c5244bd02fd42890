#include "WindowRun.h"

#include <atomic>

#if defined(__SSE2__)
#include "Sse2Vectors.h"
#include "WindowLoops.h"
#endif

namespace kanji::windows {
namespace {

std::atomic<bool> wideVectorsAllowed{true};

bool ProcessorHasAvx2() {
#if defined(KB_AVX2_WINDOWS)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

bool UsesAvx2() {
  static const bool hasAvx2 = ProcessorHasAvx2();
  return hasAvx2 && wideVectorsAllowed.load(std::memory_order_relaxed);
}

}  // namespace

void RunBaseline(Direction direction, const unsigned char* in, std::size_t n, Progress& progress) {
#if defined(__SSE2__)
  RunWith<Sse2Vectors>(direction, in, n, progress);
#else
  (void)direction, (void)in, (void)n, (void)progress;  // the byte-wise tail does it all
#endif
}

void Run(Direction direction, const unsigned char* in, std::size_t n, Progress& progress) {
#if defined(KB_AVX2_WINDOWS)
  if (UsesAvx2()) return RunAvx2(direction, in, n, progress);
#endif
  RunBaseline(direction, in, n, progress);
}

bool AllowWideVectors(bool allowed) {
  wideVectorsAllowed.store(allowed, std::memory_order_relaxed);
  return UsesAvx2();
}

}  // namespace kanji::windows
