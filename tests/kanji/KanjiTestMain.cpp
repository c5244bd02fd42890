// The kanji suite's main. With KB_KANJI_LEVEL set (All, UpToAvx2 or
// Baseline) the whole suite runs with the processor extensions limited to
// that level; a level that would only repeat the one below it on this
// processor exits with 77, which CTest shows as skipped, with the reason.

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "InstructionSets.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const char* levelName = std::getenv("KB_KANJI_LEVEL");
  if (!levelName) return RUN_ALL_TESTS();
  std::optional<kanji::ProcessorExtensions> level = InstructionSetNamed(levelName);
  if (!level) {
    std::cerr << "KB_KANJI_LEVEL must be All, UpToAvx2 or Baseline, not " << levelName << "\n";
    return 2;
  }
  std::cout << "Processor: " << ProcessorExtensionsPresent() << "\n";
  std::string repeats = EnterInstructionSetLevel(*level);
  if (!repeats.empty()) {
    std::cout << "Skipped the kanji suite at level " << levelName << ": " << repeats << "\n";
    return 77;
  }
  std::cout << "The kanji suite runs at level " << levelName << "\n";
  return RUN_ALL_TESTS();
}
