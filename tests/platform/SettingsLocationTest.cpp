#include "SettingsLocation.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TempDir.h"

namespace {

// Sets or clears an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_.empty() ? unsetenv(name_) : setenv(name_, old_.c_str(), 1); }

 private:
  const char* name_;
  std::string old_;
};

TEST(SettingsLocation, EnvironmentOverrideWins) {
  ScopedEnv env("KB_ZEVA3_INI", "/tmp/elsewhere.ini");
  EXPECT_EQ(SettingsFilePath("/usr/bin"), "/tmp/elsewhere.ini");
}

TEST(SettingsLocation, BesideAWritableExecutableDirectory) {
  ScopedEnv env("KB_ZEVA3_INI", nullptr);
  TempDir dir;
  EXPECT_EQ(SettingsFilePath(dir.Path().string()), dir.File("Kb_zeva3.ini"));
}

TEST(SettingsLocation, SystemDirectoryFallsBackToTheUsersConfigDirectory) {
  ScopedEnv env("KB_ZEVA3_INI", nullptr);
  TempDir config;
  ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().c_str());
  EXPECT_EQ(SettingsFilePath("/usr/bin"), (config.Path() / "kb_zeva3" / "Kb_zeva3.ini").string());
  EXPECT_TRUE(std::filesystem::is_directory(config.Path() / "kb_zeva3"));
}

// Regression: a copy installed under a prefix the user may write
// (--prefix ~/.local) wrote its settings into PREFIX/bin; one already kept
// there by hand is still used.
TEST(SettingsLocation, AnInstalledCopyUnderAWritablePrefixUsesTheUsersConfigDirectory) {
  ScopedEnv env("KB_ZEVA3_INI", nullptr);
  TempDir prefix, config;
  ScopedEnv xdg("XDG_CONFIG_HOME", config.Path().c_str());
  std::filesystem::create_directories(prefix.Path() / "bin");
  std::filesystem::create_directories(prefix.Path() / "share" / "kb_zeva3" / "help");
  const std::string bin = (prefix.Path() / "bin").string();
  EXPECT_EQ(SettingsFilePath(bin), (config.Path() / "kb_zeva3" / "Kb_zeva3.ini").string());
  WriteFileBytes(bin + "/Kb_zeva3.ini", "");
  EXPECT_EQ(SettingsFilePath(bin), bin + "/Kb_zeva3.ini");
}

}  // namespace
