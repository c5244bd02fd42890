#include "ProcessorFeatures.h"

#include <atomic>

namespace kanji {
namespace {

std::atomic<ProcessorExtensions> extensionLimit{ProcessorExtensions::All};

bool Allowed(ProcessorExtensions level) {
  return static_cast<int>(extensionLimit.load(std::memory_order_relaxed)) >= static_cast<int>(level);
}

}  // namespace

bool UseAvx2() {
#if defined(KB_AVX2_WINDOWS)
  static const bool hasAvx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi");
  return hasAvx2 && Allowed(ProcessorExtensions::UpToAvx2);
#else
  return false;
#endif
}

bool UseAvx512() {
#if defined(KB_AVX512_WINDOWS)
  static const bool hasAvx512 = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi") &&
                                __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("pclmul") &&
                                __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi");
  return hasAvx512 && Allowed(ProcessorExtensions::All);
#else
  return false;
#endif
}

bool UseBmi2() {
#if defined(KB_BMI2_CODEC)
  static const bool hasBmi2 = __builtin_cpu_supports("bmi2");
  return hasBmi2 && Allowed(ProcessorExtensions::UpToAvx2);
#else
  return false;
#endif
}

bool LimitProcessorExtensions(ProcessorExtensions limit) {
  extensionLimit.store(limit, std::memory_order_relaxed);
  return UseAvx2() || UseAvx512() || UseBmi2();
}

}  // namespace kanji
