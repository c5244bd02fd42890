// Start-up registration with the desktop, the main window's document icon,
// and /Unregister, checked with the desktop's own tools in a home of the
// test's own.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <filesystem>

#include "CMainFrame.h"
#include "DesktopExport.h"
#include "DesktopTestSupport.h"
#include "DocumentIcon.h"
#include "FrameTestSupport.h"
#include "RegistryKey.h"
#include "ShellFileTypes.h"
#include "StartUp.h"

namespace {

namespace fs = std::filesystem;

std::string Value(const std::string& store, const std::string& keyName) {
  RegistryKey key;
  std::string value = "(none)";
  if (key.Open(store, keyName) == registry::kSuccess) key.QueryString("", value);
  return value;
}

// When a file was last replaced, and which file it is.
std::pair<ino_t, timespec> Identity(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return {info.st_ino, info.st_mtim};
}

class DesktopRegistration : public testing::Test {
 protected:
  // A start as the desktop sees it: registration, the main window's icon
  // adjustment, the export.
  void StartAs(const std::string& executable) {
    // The desktop lists no application whose program is missing.
    fs::create_directories(fs::path(executable).parent_path());
    if (!fs::exists(executable)) WriteFileBytes(executable, "#!/bin/sh\n");
    fs::permissions(executable, fs::perms::owner_all);
    RegisterShellFileTypes(home.Store(), executable);
    AdjustDocumentIcon(home.Store());
    ASSERT_TRUE(DesktopExport::Export(home.Locations()));
  }
  std::string DesktopFile() const { return home.Locations().ApplicationsDirectory() + "/kb_zeva3.desktop"; }
  std::string MimePackage() const { return home.Locations().MimeDirectory() + "/packages/kb_zeva3.xml"; }

  DesktopHome home;
  std::string exe = home.dir.File("bin $HOME dir/kb_zeva3");
};

TEST_F(DesktopRegistration, AStartRegistersTheTypeAndTheNextRewritesNothing) {
  QString plainBefore = RunDesktopTool(QStringLiteral("gio"), {QStringLiteral("mime"), QStringLiteral("text/plain")});
  StartAs(exe);
  EXPECT_EQ(Value(home.Store(), "Kb_zeva3"), "テキスト文書");
  EXPECT_EQ(Value(home.Store(), "Kb_zeva3\\DefaultIcon"), exe + ",2");
  EXPECT_EQ(Value(home.Store(), "Kb_zeva3\\shell\\open\\command"), "\"" + exe + "\" \"%1\"");
  EXPECT_EQ(Value(home.Store(), "Kb_zeva3\\shell\\print\\command"), "\"" + exe + "\" /p \"%1\"");
  EXPECT_EQ(Value(home.Store(), "Kb_zeva3\\shell\\printto\\command"),
            "\"" + exe + "\" /pt \"%1\" \"%2\" \"%3\" \"%4\"");
  EXPECT_EQ(RegistryKey::Delete(home.Store(), ".txt"), registry::kNotFound) << ".txt is the system's";

  std::string desktop = ReadFileBytes(DesktopFile());
  EXPECT_NE(desktop.find("Exec=\"" + home.dir.Path().string() + "/bin \\\\$HOME dir/kb_zeva3\" %f\n"), std::string::npos)
      << desktop;
  EXPECT_NE(desktop.find("MimeType=application/x-kb-zeva3;\n"), std::string::npos);
  EXPECT_EQ(desktop.find("text/plain"), std::string::npos);
  EXPECT_NE(desktop.find("Actions=Print;"), std::string::npos);
  int status = -1;
  EXPECT_EQ(RunDesktopTool(QStringLiteral("desktop-file-validate"), {QString::fromStdString(DesktopFile())}, &status),
            QString());
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(RunDesktopTool(QStringLiteral("gio"), {QStringLiteral("mime"), QStringLiteral("application/x-kb-zeva3")})
                  .contains(QStringLiteral(": kb_zeva3.desktop\n")));
  EXPECT_EQ(RunDesktopTool(QStringLiteral("gio"), {QStringLiteral("mime"), QStringLiteral("text/plain")}), plainBefore);

  std::vector<std::string> written = {home.Store(), DesktopFile(), MimePackage(), home.Locations().MimeApps(),
                                      home.Locations().MimeDirectory() + "/mime.cache",
                                      home.Locations().ApplicationsDirectory() + "/mimeinfo.cache"};
  std::vector<std::pair<ino_t, timespec>> before;
  for (const std::string& path : written) {
    EXPECT_TRUE(fs::exists(path)) << path;
    before.push_back(Identity(path));
  }
  StartAs(exe);
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(Identity(written[i]).first, before[i].first) << written[i];
    EXPECT_EQ(Identity(written[i]).second.tv_nsec, before[i].second.tv_nsec) << written[i];
  }
}

TEST_F(DesktopRegistration, TheEditorsStartRegistersItsOwnExecutable) {
  FreshSettings();
  ScriptedUser user;
  int exitCode = -1;
  auto frame = StartEditor(*CKb_zeva3App::Instance(), {}, &exitCode);
  ASSERT_TRUE(frame);
  std::string self = QCoreApplication::applicationFilePath().toStdString();
  EXPECT_EQ(Value(home.Store(), "Kb_zeva3\\DefaultIcon"), self + ",2");
  EXPECT_TRUE(fs::exists(DesktopFile()));
}

TEST_F(DesktopRegistration, TheIconIndexBecomesTwoAndNothingElseChanges) {
  struct Case {
    const char* stored;
    const char* adjusted;
  } cases[] = {{"/usr/bin/kb_zeva3,1", "/usr/bin/kb_zeva3,2"}, {"/usr/bin/kb_zeva3,2", "/usr/bin/kb_zeva3,2"},
               {"ab", "a2"}, {"x", "x"}, {"", ""}, {"/ホーム/あ", "/ホーム/2"}, {"あ", "あ"}};
  for (const Case& c : cases) {
    RegistryKey key;
    ASSERT_EQ(key.Open(home.Store(), "Kb_zeva3\\DefaultIcon"), registry::kSuccess);
    key.SetString("", c.stored);
    AdjustDocumentIcon(home.Store());
    EXPECT_EQ(Value(home.Store(), "Kb_zeva3\\DefaultIcon"), c.adjusted) << c.stored;
  }
  RegistryKey::Delete(home.Store(), "Kb_zeva3");
  AdjustDocumentIcon(home.Store());
  EXPECT_EQ(Value(home.Store(), "Kb_zeva3\\DefaultIcon"), "(none)") << "a missing key is made, left empty";
}

TEST_F(DesktopRegistration, UnregisterTakesEverythingAwayAndKeepsTheUsersOtherLines) {
  const std::string theirs =
      "[Default Applications]\ntext/plain=their-editor.desktop\n\n[Added Associations]\nimage/png=viewer.desktop;\n";
  fs::create_directories(home.dir.File("config"));
  WriteFileBytes(home.Locations().MimeApps(), theirs);
  StartAs(exe);
  RegistryKey extension;
  ASSERT_EQ(extension.Open(home.Store(), ".kbt"), registry::kSuccess);
  extension.SetString("", "Kb_zeva3");
  ASSERT_TRUE(DesktopExport::Export(home.Locations()));
  std::string file = home.dir.File("memo.kbt");
  WriteFileBytes(file, "メモ\n");
  ASSERT_EQ(ContentType(file), QStringLiteral("application/x-kb-zeva3"));

  ScriptedUser user;
  int exitCode = -1;
  EXPECT_FALSE(StartEditor(*CKb_zeva3App::Instance(), {QStringLiteral("/Unregserver")}, &exitCode));
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("デスクトップへの登録を解除しました。"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(RegistryKey::Delete(home.Store(), "Kb_zeva3"), registry::kNotFound);
  EXPECT_EQ(RegistryKey::Delete(home.Store(), ".kbt"), registry::kNotFound);
  for (const std::string& path : {DesktopFile(), MimePackage(), home.Locations().MimeDirectory() + "/application/x-kb-zeva3.xml"})
    EXPECT_FALSE(fs::exists(path)) << path;
  EXPECT_EQ(ReadFileBytes(home.Locations().MimeApps()), theirs);
  EXPECT_NE(ContentType(file), QStringLiteral("application/x-kb-zeva3"));
}

TEST_F(DesktopRegistration, UnregisterSaysSoWhenSomethingCouldNotBeRemoved) {
  StartAs(exe);
  fs::remove(DesktopFile());
  fs::create_directories(DesktopFile() + "/in the way");  // cannot be removed as a file
  ScriptedUser user;
  int exitCode = -1;
  EXPECT_FALSE(StartEditor(*CKb_zeva3App::Instance(), {QStringLiteral("/Unregister")}, &exitCode));
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("デスクトップへの登録の一部を解除できませんでした。"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Exclamation);
}

}  // namespace
