#pragma once

// Runs each test of a suite once for every level of the processor
// extensions the kanji core uses: all the processor has (AVX-512, AVX2,
// BMI2 where present), up to AVX2 and BMI2, and the baseline only.
//
//   class MySuite : public InstructionSetTest {};
//   INSTANTIATE_TEST_SUITE_P(InstructionSets, MySuite, kAllInstructionSets, InstructionSetName);

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ProcessorFeatures.h"

class InstructionSetTest : public testing::TestWithParam<kanji::ProcessorExtensions> {
 protected:
  void SetUp() override { kanji::LimitProcessorExtensions(GetParam()); }
  void TearDown() override { kanji::LimitProcessorExtensions(kanji::ProcessorExtensions::All); }
};

inline const auto kAllInstructionSets = testing::Values(
    kanji::ProcessorExtensions::All, kanji::ProcessorExtensions::UpToAvx2, kanji::ProcessorExtensions::None);

inline std::string InstructionSetName(const testing::TestParamInfo<kanji::ProcessorExtensions>& info) {
  switch (info.param) {
    case kanji::ProcessorExtensions::All: return "All";
    case kanji::ProcessorExtensions::UpToAvx2: return "UpToAvx2";
    case kanji::ProcessorExtensions::None: return "Baseline";
  }
  return "Unknown";
}

namespace kanji {
// Names the level in failure messages.
inline void PrintTo(ProcessorExtensions level, std::ostream* os) {
  *os << InstructionSetName(testing::TestParamInfo<ProcessorExtensions>(level, 0));
}
}  // namespace kanji
