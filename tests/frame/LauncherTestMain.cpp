// The launcher tests run in a desktop of their own: XDG directories under a
// temporary directory, set before GIO first reads them, where a recording
// program is the default application for plain text.

#include <gtest/gtest.h>

#include <filesystem>

#include "CKb_zeva3App.h"
#include "LauncherTestSupport.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TempDir settingsDir;
  std::string path = settingsDir.File("Kb_zeva3.ini");
  setenv("KB_ZEVA3_INI", path.c_str(), 1);
  TestDesktop desktop;
  CKb_zeva3App app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
