#pragma once

// Runs each test of a suite once for every level of the processor
// extensions the kanji core uses: all the processor has (AVX-512, AVX2,
// BMI2 where present), up to AVX2 and BMI2, and the baseline only.
//
//   class MySuite : public InstructionSetTest {};
//   INSTANTIATE_TEST_SUITE_P(InstructionSets, MySuite, kAllInstructionSets, InstructionSetName);
//
// A level that would run the same code as the level below it on this
// processor is skipped, and says why: a level never silently becomes
// another one.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "ProcessorFeatures.h"

inline const char* LevelName(kanji::ProcessorExtensions level) {
  switch (level) {
    case kanji::ProcessorExtensions::All: return "All";
    case kanji::ProcessorExtensions::UpToAvx2: return "UpToAvx2";
    case kanji::ProcessorExtensions::None: return "Baseline";
  }
  return "Unknown";
}

inline std::optional<kanji::ProcessorExtensions> InstructionSetNamed(std::string_view name) {
  for (auto level : {kanji::ProcessorExtensions::All, kanji::ProcessorExtensions::UpToAvx2,
                     kanji::ProcessorExtensions::None})
    if (name == LevelName(level)) return level;
  return std::nullopt;
}

// Sets the level; empty when it runs code of its own on this processor,
// otherwise why it would repeat the level below it.
inline std::string EnterInstructionSetLevel(kanji::ProcessorExtensions level) {
  kanji::LimitProcessorExtensions(level);
  switch (level) {
    case kanji::ProcessorExtensions::All:
      if (!kanji::UseAvx512())
        return "this processor has no AVX-512 VBMI2: level All would run the UpToAvx2 code again";
      return {};
    case kanji::ProcessorExtensions::UpToAvx2:
      if (!kanji::UseAvx2() && !kanji::UseBmi2())
        return "this processor has neither AVX2 nor BMI2: level UpToAvx2 would run the baseline code again";
      return {};
    case kanji::ProcessorExtensions::None:
      return {};
  }
  return {};
}

// What the processor offers the kanji core, for the test output.
inline std::string ProcessorExtensionsPresent() {
  kanji::LimitProcessorExtensions(kanji::ProcessorExtensions::All);
  std::string present = std::string("AVX-512 VBMI2 ") + (kanji::UseAvx512() ? "yes" : "no") + ", AVX2 " +
                        (kanji::UseAvx2() ? "yes" : "no") + ", BMI2 " + (kanji::UseBmi2() ? "yes" : "no");
  return present;
}

class InstructionSetTest : public testing::TestWithParam<kanji::ProcessorExtensions> {
 protected:
  void SetUp() override {
    std::string repeats = EnterInstructionSetLevel(GetParam());
    if (!repeats.empty()) GTEST_SKIP() << repeats;
  }
  void TearDown() override { kanji::LimitProcessorExtensions(kanji::ProcessorExtensions::All); }
};

inline const auto kAllInstructionSets = testing::Values(
    kanji::ProcessorExtensions::All, kanji::ProcessorExtensions::UpToAvx2, kanji::ProcessorExtensions::None);

inline std::string InstructionSetName(const testing::TestParamInfo<kanji::ProcessorExtensions>& info) {
  return LevelName(info.param);
}

namespace kanji {
// Names the level in failure messages.
inline void PrintTo(ProcessorExtensions level, std::ostream* os) { *os << LevelName(level); }
}  // namespace kanji
