// Start-up from the command line.

#include "StartUp.h"

#include <gtest/gtest.h>

#include <QDialog>

#include "ByteStrings.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CPrintPreviewDlg.h"
#include "CommandLine.h"
#include "FrameTestSupport.h"

namespace {

std::string Fixture(const std::string& name) { return std::string(KB_TEST_DATA_DIR) + "/" + name; }

TEST(CommandLine, OnlyTheExactOptionWordsAreOptions) {
  using A = CommandLine::Action;
  EXPECT_EQ(ParseCommandLine({}).action, A::NewDocument);
  EXPECT_EQ(ParseCommandLine({"/home/user/memo.txt"}).action, A::Open);
  EXPECT_EQ(ParseCommandLine({"/home/user/memo.txt"}).path, QStringLiteral("/home/user/memo.txt"));
  EXPECT_EQ(ParseCommandLine({"/p"}).action, A::Invalid);
  EXPECT_EQ(ParseCommandLine({"/p", "a.txt"}).action, A::Print);
  EXPECT_EQ(ParseCommandLine({"/P", "a.txt"}).action, A::Open) << "p is case-sensitive; /P is a file";
  EXPECT_EQ(ParseCommandLine({"/pt", "a.txt"}).action, A::Invalid) << "no printer: a usage error";
  EXPECT_EQ(ParseCommandLine({"/pt", "a.txt", ""}).action, A::Invalid);
  CommandLine to = ParseCommandLine({"-pt", "a.txt", "Printer", "Driver", "Port"});
  EXPECT_EQ(to.action, A::PrintTo);
  EXPECT_EQ(to.printer + to.driver + to.port, QStringLiteral("PrinterDriverPort"));
  for (const char* word : {"/Unregister", "/unregister", "-UNREGSERVER", "/uNrEgIsTeR"})
    EXPECT_EQ(ParseCommandLine({word}).action, A::Unregister) << word;
  EXPECT_EQ(ParseCommandLine({"/Embedding", "b.txt"}).path, QStringLiteral("b.txt"));
  EXPECT_EQ(ParseCommandLine({"--help"}).action, A::Help);
  EXPECT_EQ(ParseCommandLine({"--version"}).action, A::Version);
}

class StartUp : public testing::Test {
 protected:
  std::unique_ptr<CMainFrame> Start(const QStringList& arguments) {
    return StartEditor(*CKb_zeva3App::Instance(), arguments, &exitCode);
  }
  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  int exitCode = -1;
};

TEST_F(StartUp, NoArgumentsGiveAnUntitledDocument) {
  auto frame = Start({});
  ASSERT_TRUE(frame);
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(frame->Document().PathName().isEmpty());
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題[*] - Kaboma Edit 3"));
}

TEST_F(StartUp, AJisFileWithAutoShowsConvertedTextAndJisToJis) {
  profile.WriteProfileInt("KanaCode", "Load", 4);
  profile.WriteProfileInt("KanaCode", "Save", 4);
  auto frame = Start({QString::fromStdString(Fixture("jis_prose.txt"))});
  ASSERT_TRUE(frame);
  frame->UpdateIdle();
  EXPECT_EQ(frame->PaneText(4), QStringLiteral("JIS→JIS"));
  EXPECT_NE(frame->View().Control().Utf8Text().find("吾輩は猫である。"), std::string_view::npos);
}

TEST_F(StartUp, AMissingFileIsReportedAndTheProcessEndsWithAnError) {
  auto frame = Start({QStringLiteral("/nowhere/missing.txt")});
  EXPECT_FALSE(frame);
  EXPECT_EQ(exitCode, 1);
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("/nowhere/missing.txt\nが見つかりません。"));
}

TEST_F(StartUp, UnregisterInAnyCaseEndsWithoutAWindowOrRecentFiles) {
  auto frame = Start({QStringLiteral("/UNREGISTER")});
  EXPECT_FALSE(frame);
  EXPECT_EQ(exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(profile.Path()));
}

TEST_F(StartUp, PrintingAFileThatCannotBeOpenedEndsWithAnErrorAndNoWindow) {
  EXPECT_FALSE(Start({QStringLiteral("/p"), QStringLiteral("/nowhere/missing.txt")}));
  EXPECT_EQ(exitCode, 1);
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("/nowhere/missing.txt\nが見つかりません。"));
}

TEST_F(StartUp, FileOpenShowsTheFiltersAndCancellingChangesNothing) {
  auto frame = Start({QString::fromStdString(Fixture("sjis_prose.txt"))});
  ASSERT_TRUE(frame);
  QStringList shown;
  platform::SetOpenPathHandler([&](const QStringList& filters) {
    shown = filters;
    return std::optional<QString>();
  });
  frame->RunCommand(57601);
  ASSERT_EQ(shown.size(), 5);
  EXPECT_TRUE(shown[0].startsWith(QStringLiteral("テキストファイル(.txt;.text;.doc;.ini;.tex)")));
  EXPECT_TRUE(shown[4].startsWith(QStringLiteral("全てのファイル(*.*)")));
  EXPECT_EQ(frame->Document().PathName(), QString::fromStdString(Fixture("sjis_prose.txt")));
}

TEST_F(StartUp, OpeningTheOpenFileAgainReloadsItAfterTheSavePrompt) {
  TempDir dir;
  std::string path = dir.File("doc.txt");
  WriteFileBytes(path, "on disk");
  auto frame = Start({QString::fromStdString(path)});
  ASSERT_TRUE(frame);
  WritableAsWhenFocusReturns(frame->View());
  frame->View().Control().ReplaceSelection(QStringLiteral("edited "));
  platform::SetOpenPathHandler([&](const QStringList&) { return std::optional(QString::fromStdString(path)); });
  user.answers = {platform::MessageAnswer::No};
  frame->RunCommand(57601);
  EXPECT_EQ(user.asked.at(0).buttons, platform::MessageButtons::YesNoCancel);
  EXPECT_EQ(frame->View().TextForSave(nullptr), "on disk");
}

// The preview starts with as many pages side by side as it was left with,
// and the count is written back only at exit.
TEST_F(StartUp, PreviewPagesShownAreKeptUntilExit) {
  auto frame = Start({});
  ASSERT_TRUE(frame);
  CKb_zeva3App::Instance()->SetPreviewPages(2);
  std::vector<int> opened;
  platform::SetDialogHandler([&](QDialog& dialog) {
    auto& preview = dynamic_cast<CPrintPreviewDlg&>(dialog);
    opened.push_back(preview.PagesShown());
    if (opened.size() == 1) preview.TogglePagesShown();
    return 0;
  });
  frame->RunCommand(57609);
  frame->RunCommand(57609);
  EXPECT_EQ(opened, (std::vector<int>{2, 1}));
  EXPECT_EQ(profile.GetProfileInt("Settings", "PreviewPages", 0), 0) << "nothing written before exit";
  CKb_zeva3App::Instance()->SaveStandardSettings();
  EXPECT_EQ(profile.GetProfileInt("Settings", "PreviewPages", 0), 1);
  CKb_zeva3App::Instance()->SetPreviewPages(0);
}

TEST_F(StartUp, RecentFilesAreRememberedMostRecentFirstAndWrittenAtExit) {
  TempDir dir;
  auto frame = Start({});
  for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt", "5.txt"}) {
    WriteFileBytes(dir.File(name), name);
    ASSERT_TRUE(frame->Document().OpenDocumentFile(QString::fromStdString(dir.File(name))));
  }
  CKb_zeva3App::Instance()->SaveStandardSettings();
  EXPECT_EQ(profile.GetProfileString("Recent File List", "File1", ""), dir.File("5.txt"));
  EXPECT_EQ(profile.GetProfileString("Recent File List", "File4", ""), dir.File("2.txt"));
  EXPECT_EQ(profile.GetProfileString("Recent File List", "File5", "none"), "none");
  frame->RunCommand(57616 + 3);  // the fourth entry
  EXPECT_EQ(frame->View().TextForSave(nullptr), "2.txt");
}

TEST_F(StartUp, VersionDialogSaysWhatItIs) {
  auto frame = Start({});
  QString shown;
  platform::SetDialogHandler([&](QDialog& dialog) {
    shown = dialog.windowTitle();
    return 1;
  });
  frame->RunCommand(57664);
  EXPECT_EQ(shown, QStringLiteral("バージョン情報"));
}

}  // namespace
