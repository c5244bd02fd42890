// The file-type store: keys opened (and made) one at a time, string values,
// deletion of whole trees, and the command texts kept in it.

#include "RegistryKey.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

#include "ShellCommandText.h"
#include "TempDir.h"

namespace {

class RegistryKeyTest : public testing::Test {
 protected:
  TempDir dir;
  std::string store = dir.File("kb_zeva3/classes.reg");
};

TEST_F(RegistryKeyTest, OpenMakesTheKeyAndValuesReadBackExactly) {
  RegistryKey key;
  ASSERT_EQ(key.Open(store, "Kb_zeva3\\shell\\open\\command"), registry::kSuccess);
  std::string out = "untouched";
  EXPECT_EQ(key.QueryString("", out), registry::kNotFound);
  EXPECT_EQ(out, "untouched");
  for (std::string text : {"/opt/a b/kb_zeva3 \"%1\"", "\"quoted at both ends\"", "  blanks  ", "テキスト文書", ""}) {
    ASSERT_EQ(key.SetString("", text), registry::kSuccess) << text;
    ASSERT_EQ(key.QueryString("", out), registry::kSuccess);
    EXPECT_EQ(out, text);
  }
  EXPECT_EQ(key.SetString("", "two\nlines"), registry::kInvalidParameter);
  RegistryKey again;
  ASSERT_EQ(again.Open(store, "KB_ZEVA3\\SHELL\\OPEN\\COMMAND"), registry::kSuccess) << "names ignore case";
  EXPECT_EQ(again.QueryString("", out), registry::kSuccess);
}

TEST_F(RegistryKeyTest, AQueryTakesAtMost199BytesAndAClosedKeyDoesNothing) {
  RegistryKey key;
  ASSERT_EQ(key.Open(store, ".abc"), registry::kSuccess);
  std::string out;
  key.SetString("", std::string(199, 'x'));
  EXPECT_EQ(key.QueryString("", out), registry::kSuccess);
  key.SetString("", std::string(200, 'x'));
  out = "kept";
  EXPECT_EQ(key.QueryString("", out), registry::kMoreData);
  EXPECT_EQ(out, "kept");
  key.Close();
  EXPECT_EQ(key.SetString("", "x"), registry::kInvalidHandle);
  EXPECT_EQ(key.QueryString("", out), registry::kInvalidHandle);
}

TEST_F(RegistryKeyTest, DeleteTakesTheKeyWithEverythingBelowAndFailsWhenThereIsNone) {
  for (const char* name : {"Kb_zeva3", "Kb_zeva3\\DefaultIcon", "Kb_zeva3\\shell\\open\\command", ".txt", "Kb_zeva3x"}) {
    RegistryKey key;
    ASSERT_EQ(key.Open(store, name), registry::kSuccess);
    key.SetString("", "v");
  }
  EXPECT_EQ(RegistryKey::Delete(store, "Kb_zeva3"), registry::kSuccess);
  EXPECT_EQ(RegistryKey::Delete(store, "Kb_zeva3\\shell"), registry::kNotFound);
  EXPECT_EQ(RegistryKey::Delete(store, ".c"), registry::kNotFound);
  RegistryKey survivor;
  std::string out;
  ASSERT_EQ(survivor.Open(store, "Kb_zeva3x"), registry::kSuccess);
  EXPECT_EQ(survivor.QueryString("", out), registry::kSuccess) << "a key that only begins alike stays";
  EXPECT_EQ(RegistryKey::Delete(dir.File("missing/classes.reg"), ".c"), registry::kNotFound);
}

TEST_F(RegistryKeyTest, AStoreTheUserMayNotWriteRefusesToOpen) {
  RegistryKey key;
  ASSERT_EQ(key.Open(store, ".abc"), registry::kSuccess);
  chmod(store.c_str(), 0444);
  RegistryKey other;
  EXPECT_EQ(other.Open(store, ".def"), registry::kAccessDenied);
  EXPECT_EQ(key.SetString("", "x"), registry::kAccessDenied);
}

// Several editors start at once: each writes keys of its own, none is lost.
TEST_F(RegistryKeyTest, WritersInSeveralProcessesLoseNoKey) {
  constexpr int kWriters = 4, kKeys = 40;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = fork();
    if (pid == 0) {
      for (int i = 0; i < kKeys; ++i) {
        RegistryKey key;
        if (key.Open(store, "." + std::to_string(w) + "x" + std::to_string(i)) != 0 || key.SetString("", "Kb_zeva3") != 0)
          _exit(1);
      }
      _exit(0);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int w = 0; w < kWriters; ++w)
    for (int i = 0; i < kKeys; ++i) {
      RegistryKey key;
      std::string out;
      key.Open(store, "." + std::to_string(w) + "x" + std::to_string(i));
      EXPECT_EQ(key.QueryString("", out), registry::kSuccess);
    }
}

TEST(ShellCommandText, AnyArgumentSurvivesQuotingAndSplitting) {
  for (std::string argument : {"/usr/bin/kb_zeva3", "/home/a b/kb_zeva3", "", "say \"hi\"", "ends\\", "ends with\\",
                               "a\\\"b", "$HOME `x` 'y' %1", "タブ\tあり"}) {
    std::string text = QuoteCommandArgument(argument) + " /p \"%1\"";
    EXPECT_EQ(SplitCommandText(text), (std::vector<std::string>{argument, "/p", "%1"})) << text;
  }
  EXPECT_EQ(QuoteCommandArgument("/usr/bin/kb_zeva3"), "/usr/bin/kb_zeva3") << "quoted only when needed";
}

}  // namespace
