#pragma once

// Instruction-set extensions the kanji core uses where the processor has
// them: AVX2 (with BMI1) for the conversion windows, AVX-512 (byte lanes,
// byte compression, carry-less multiplication) for the JIS readers'
// windows, BMI2 for UTF-8 decoding in the codec's encoder. Each has a
// baseline version the tests also run.

namespace kanji {

bool UseAvx2();
bool UseAvx512();
bool UseBmi2();

// How far up the routines may go: the baseline only, AVX2 and BMI2 but
// not AVX-512, or everything the processor has (the default).
enum class ProcessorExtensions { None, UpToAvx2, All };

// Sets the limit; returns whether any extension is in use afterwards.
bool LimitProcessorExtensions(ProcessorExtensions limit);

// All or none.
inline bool AllowProcessorExtensions(bool allowed) {
  return LimitProcessorExtensions(allowed ? ProcessorExtensions::All : ProcessorExtensions::None);
}

}  // namespace kanji
