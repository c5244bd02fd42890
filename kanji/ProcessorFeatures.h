#pragma once

// Instruction-set extensions the kanji core uses where the processor has
// them: AVX2 (with BMI1) for the conversion windows, BMI2 for UTF-8 decoding in the
// codec's encoder. Each has a baseline version the tests also run.

namespace kanji {

bool UseAvx2();
bool UseBmi2();

// Lets the routines use the extensions (the default) or holds them to the
// baseline; returns whether any extension is in use afterwards.
bool AllowProcessorExtensions(bool allowed);

}  // namespace kanji
