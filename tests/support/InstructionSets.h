#pragma once

// Runs each test of a suite twice: with the processor's extensions that the
// kanji core uses (AVX2, BMI2, where the processor has them) and with the
// baseline instruction set only.
//
//   class MySuite : public InstructionSetTest {};
//   INSTANTIATE_TEST_SUITE_P(InstructionSets, MySuite, testing::Values(true, false), InstructionSetName);

#include <gtest/gtest.h>

#include <string>

#include "ProcessorFeatures.h"

class InstructionSetTest : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override { kanji::AllowProcessorExtensions(GetParam()); }
  void TearDown() override { kanji::AllowProcessorExtensions(true); }
};

inline std::string InstructionSetName(const testing::TestParamInfo<bool>& info) {
  return info.param ? "Extended" : "Baseline";
}
