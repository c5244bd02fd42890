// The frame tests run inside the editor's own application object, whose
// settings file is fixed at start-up: one file in a directory of its own,
// emptied before each test by FrameTestSettings.

#include <gtest/gtest.h>

#include "CKb_zeva3App.h"
#include "TempDir.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TempDir settingsDir;
  std::string path = settingsDir.File("Kb_zeva3.ini");
  setenv("KB_ZEVA3_INI", path.c_str(), 1);
  // Start-up registers the editor with the desktop: in this directory, never
  // in the real home.
  setenv("HOME", settingsDir.Path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", settingsDir.File("config").c_str(), 1);
  setenv("XDG_DATA_HOME", settingsDir.File("data").c_str(), 1);
  CKb_zeva3App app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
