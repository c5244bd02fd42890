// The application object's profile operations reach the one settings file
// fixed at start-up.

#include <gtest/gtest.h>

#include <cstdlib>

#include "CKb_zeva3App.h"
#include "TempDir.h"

namespace {

TEST(AppSettings, ProfileOperationsGoToTheSettingsFile) {
  TempDir dir;
  std::string path = dir.File("Kb_zeva3.ini");
  setenv("KB_ZEVA3_INI", path.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int argc = 1;
  char name[] = "kb_zeva3";
  char* argv[] = {name, nullptr};
  CKb_zeva3App app(argc, argv);

  EXPECT_EQ(CKb_zeva3App::Instance(), &app);
  EXPECT_EQ(app.SettingsPath(), path);
  EXPECT_EQ(app.GetProfileInt("Size", "SizeX", 640), 640);
  app.WriteProfileInt("Size", "SizeX", 800);
  app.WriteProfileString("Font", "Name", "ＭＳ ゴシック");
  EXPECT_EQ(ProfileFile(path).GetProfileInt("Size", "SizeX", 0), 800);
  EXPECT_EQ(app.GetProfileString("Font", "Name", ""), "ＭＳ ゴシック");
  app.WriteProfileString("Font", std::nullopt, std::nullopt);
  EXPECT_EQ(ReadFileBytes(path), "[Size]\r\nSizeX=800\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
