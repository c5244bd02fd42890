#include "ProcessorFeatures.h"

#include <atomic>

namespace kanji {
namespace {

std::atomic<bool> extensionsAllowed{true};

bool Allowed() { return extensionsAllowed.load(std::memory_order_relaxed); }

}  // namespace

bool UseAvx2() {
#if defined(KB_AVX2_WINDOWS)
  static const bool hasAvx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi");
  return hasAvx2 && Allowed();
#else
  return false;
#endif
}

bool UseBmi2() {
#if defined(KB_BMI2_CODEC)
  static const bool hasBmi2 = __builtin_cpu_supports("bmi2");
  return hasBmi2 && Allowed();
#else
  return false;
#endif
}

bool AllowProcessorExtensions(bool allowed) {
  extensionsAllowed.store(allowed, std::memory_order_relaxed);
  return UseAvx2() || UseBmi2();
}

}  // namespace kanji
