// The mini launcher: launching in its three modes, and its settings dialog.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "ByteNames.h"
#include "ByteStrings.h"
#include "CKb_zeva3Doc.h"
#include "CMainFrame.h"
#include "CMiniLauncher.h"
#include "CMiniLauncherDlg.h"
#include "CommandIds.h"
#include "DesktopOpen.h"
#include "DialogTestSupport.h"
#include "ExecutableFileDialog.h"
#include "FileName.h"
#include "FrameTestSupport.h"
#include "LauncherTestSupport.h"
#include "RecentFileName.h"

namespace {

using platform::MessageIcon;

const QString kUnsaved = QStringLiteral("未保存のファイルは実行できません。\n文書を保存してから実行して下さい。");
const QString kNoAssociation = QStringLiteral("現在開かれているファイルは\n拡張子起動できません。");
const QString kUntitled = QStringLiteral("無題のファイルは実行できません。");
const QString kNotFound = QStringLiteral("登録された実行ファイル\nが見つかりません。");
const QString kNotRunnable =
    QStringLiteral("登録された実行ファイル\nは実行できません。\n（フォルダか、実行を許可されていないファイルです）");

QString Q(const std::string& text) { return QString::fromStdString(text); }

class MiniLauncherTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = std::make_unique<CMainFrame>(profile, nullptr, nullptr);
    frame->Document().OnNewDocument();
    WriteRecorder(recorder, record);
    WriteFileBytes(document, "text\n");
    platform::SetProgramHandler([this](const QString& program, const QStringList& arguments) {
      started.push_back({program, arguments});
      return true;
    });
  }
  void Settings(int mode, const QString& program) {
    profile.WriteProfileInt("Lunch", "Mode", mode);
    profile.WriteProfileString("Lunch", "Path", RecentFileName::ToStored(program));
  }
  void Open(const std::string& path) { ASSERT_TRUE(frame->Document().OpenDocumentFile(Q(path))); }
  void Launch() { frame->Dispatcher().Dispatch(ids::kMiniLauncher); }
  // The one message shown, which must be the launcher's.
  QString Message() {
    if (user.asked.size() != 1) return QStringLiteral("%1 messages").arg(user.asked.size());
    EXPECT_EQ(user.asked[0].caption, QStringLiteral("ミニランチャー"));
    EXPECT_EQ(user.asked[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(user.asked[0].buttons, platform::MessageButtons::Ok);
    return user.asked[0].text;
  }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  std::unique_ptr<CMainFrame> frame;
  TempDir dir;
  std::string recorder = dir.File("record.sh");
  std::string record = dir.File("args");
  std::string document = dir.File("doc.txt");
  std::vector<std::pair<QString, QStringList>> started;
};

TEST_F(MiniLauncherTest, BothCommandsAreEnabled) {
  EXPECT_TRUE(frame->Dispatcher().Update(ids::kMiniLauncher).enabled);
  EXPECT_TRUE(frame->Dispatcher().Update(ids::kMiniLauncherSettings).enabled);
}

struct UntitledCase {
  int mode;
  QString message;  // empty: the program starts
};

TEST_F(MiniLauncherTest, AnUntitledDocumentInEachMode) {
  for (const UntitledCase& c : {UntitledCase{0, kUnsaved}, {1, kUntitled}, {7, kUntitled}, {-1, kUntitled}, {2, {}}}) {
    user.asked.clear();
    started.clear();
    Settings(c.mode, Q(recorder));
    Launch();
    if (c.message.isEmpty()) {
      EXPECT_TRUE(user.asked.empty()) << c.mode;
      ASSERT_EQ(started.size(), 1u) << c.mode;
      EXPECT_EQ(started[0].first, Q(recorder));
      EXPECT_TRUE(started[0].second.isEmpty()) << "run only: no parameters";
    } else {
      EXPECT_EQ(Message(), c.message) << c.mode;
      EXPECT_TRUE(started.empty()) << c.mode;
    }
  }
}

TEST_F(MiniLauncherTest, ASavedDocumentGoesToTheRegisteredProgramAsItsOneParameterAlsoInAnUnknownMode) {
  Open(document);
  for (int mode : {1, 7}) {
    started.clear();
    Settings(mode, Q(recorder));
    Launch();
    ASSERT_EQ(started.size(), 1u) << mode;
    EXPECT_EQ(started[0].second, QStringList{Q(document)}) << mode;
  }
  EXPECT_TRUE(user.asked.empty());
}

// Regression: a folder or a file without the permission to run was "not found".
TEST_F(MiniLauncherTest, AProgramThatIsMissingIsNotFoundAndOneThatCannotBeRunSaysSo) {
  Open(document);
  WriteFileBytes(dir.File("plain.txt"), "not a program");
  const std::pair<QString, QString> programs[] = {
      {QString(), kNotFound},
      {Q(dir.File("missing")), kNotFound},
      {QStringLiteral("kb-no-such-program-anywhere"), kNotFound},
      {Q(dir.File("plain.txt")), kNotRunnable},
      {Q(dir.Path().string()), kNotRunnable}};
  for (int mode : {1, 2})
    for (const auto& [program, told] : programs) {
      user.asked.clear();
      Settings(mode, program);
      Launch();
      EXPECT_EQ(Message(), told) << mode << " " << program.toStdString();
    }
  EXPECT_TRUE(started.empty());
}

TEST_F(MiniLauncherTest, AProgramNamedWithoutADirectoryIsFoundOnThePath) {
  Settings(2, QStringLiteral("sh"));
  Launch();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_TRUE(started[0].first.endsWith(QStringLiteral("/sh")));
}

// Spaces, quotes, a dollar, backticks, a semicolon and a line break: a
// shell would split, expand or run them; the program must see the name.
TEST_F(MiniLauncherTest, APathFullOfShellCharactersArrivesAsOneArgument) {
  platform::SetProgramHandler({});  // really start the recorder
  std::string odd = dir.File("a b 'c' \"d\" $HOME `id`; e\n f.txt");
  WriteFileBytes(odd, "text\n");
  Open(odd);
  Settings(1, Q(recorder));
  Launch();
  std::optional<std::vector<std::string>> arguments = RecordedArguments(record);
  ASSERT_TRUE(arguments);
  EXPECT_EQ(*arguments, std::vector<std::string>{odd});
  EXPECT_TRUE(user.asked.empty());
}

// A document named in Shift-JIS bytes reached the other program under the
// UTF-8 of the code points that hold those bytes: a file that is not there.
TEST_F(MiniLauncherTest, ADocumentNamedInShiftJisBytesReachesTheProgramByThoseBytes) {
  platform::SetProgramHandler({});  // really start the recorder
  const std::string named = dir.File(kEveryShiftJisClassName);
  WriteFileBytes(named, "text\n");
  ASSERT_TRUE(frame->Document().OpenDocumentFile(FileName::FromBytes(named)));
  Settings(1, Q(recorder));
  Launch();
  std::optional<std::vector<std::string>> arguments = RecordedArguments(record);
  ASSERT_TRUE(arguments);
  EXPECT_EQ(*arguments, std::vector<std::string>{named});
  std::filesystem::remove(TestDesktop::Record());
  Settings(0, QString());
  Launch();
  arguments = RecordedArguments(TestDesktop::Record());
  ASSERT_TRUE(arguments) << "the desktop's default application for text/plain did not start";
  EXPECT_EQ(*arguments, std::vector<std::string>{named});
  EXPECT_TRUE(user.asked.empty());
}

TEST_F(MiniLauncherTest, TheAssociatedApplicationOpensTheSavedFile) {
  std::filesystem::remove(TestDesktop::Record());
  std::string spaced = dir.File("with space.txt");
  WriteFileBytes(spaced, "plain text\n");
  Open(spaced);
  Settings(0, QString());
  Launch();
  std::optional<std::vector<std::string>> arguments = RecordedArguments(TestDesktop::Record());
  ASSERT_TRUE(arguments) << "the desktop's default application for text/plain did not start";
  EXPECT_EQ(*arguments, std::vector<std::string>{spaced});
  EXPECT_TRUE(user.asked.empty());
}

TEST_F(MiniLauncherTest, AFileGoneSinceItWasSavedCannotBeOpenedByItsType) {
  Open(document);
  std::filesystem::remove(document);
  Settings(0, QString());
  Launch();
  EXPECT_EQ(Message(), kNoAssociation);
}

TEST(DesktopOpen, ResultCodesOfTheFailures) {
  TempDir dir;
  WriteFileBytes(dir.File("data.kbzzq"), Hex("00 01 02 FF FE") + " binary");
  EXPECT_EQ(desktop_open::OpenWithDefaultApplication(dir.File("missing.txt").c_str()), desktop_open::kFileNotFound);
  EXPECT_EQ(desktop_open::OpenWithDefaultApplication(dir.File("no/such/dir.txt").c_str()),
            desktop_open::kPathNotFound);
  EXPECT_EQ(desktop_open::OpenWithDefaultApplication(""), desktop_open::kFileNotFound);
  EXPECT_EQ(desktop_open::OpenWithDefaultApplication(dir.File("data.kbzzq").c_str()), desktop_open::kNoAssociation);
}

TEST(DesktopOpen, AFileTheUserMayNotReadIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads everything";
  TempDir dir;
  WriteFileBytes(dir.File("secret.txt"), "x");
  std::filesystem::permissions(dir.File("secret.txt"), std::filesystem::perms::none);
  EXPECT_EQ(desktop_open::OpenWithDefaultApplication(dir.File("secret.txt").c_str()), desktop_open::kAccessDenied);
}

// The settings dialog, answered by `act` (and the file dialog by `choose`).
class MiniLauncherDlgTest : public MiniLauncherTest {
 protected:
  void Run(std::function<void(CMiniLauncherDlg&)> act) {
    platform::SetDialogHandler([this, act](QDialog& dialog) {
      if (auto* chooser = dynamic_cast<ExecutableFileDialog*>(&dialog)) {
        ++choosers;
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("実行ファイルを選択して下さい"));
        EXPECT_EQ(chooser->nameFilters(),
                  (QStringList{ExecutableFileDialog::ExecutablesFilter(), ExecutableFileDialog::AllFilesFilter()}));
        EXPECT_EQ(chooser->selectedNameFilter(), ExecutableFileDialog::ExecutablesFilter());
        if (chosen.isEmpty()) return int(QDialog::Rejected);
        chooser->selectFile(chosen);
        return int(QDialog::Accepted);
      }
      auto* launcher = dynamic_cast<CMiniLauncherDlg*>(&dialog);
      if (!launcher) {
        ADD_FAILURE() << "unexpected dialog";
        return 0;
      }
      act(*launcher);
      return launcher->result();
    });
    frame->Dispatcher().Dispatch(ids::kMiniLauncherSettings);
  }
  static QLineEdit* PathBox(QWidget& dialog) { return dialog.findChild<QLineEdit*>(QStringLiteral("path")); }
  static QRadioButton* ModeButton(QWidget& dialog, const char* name) {
    return dialog.findChild<QRadioButton*>(QLatin1String(name));
  }

  QString chosen;
  int choosers = 0;
};

TEST_F(MiniLauncherDlgTest, AStoredModeOutOfRangeShowsAsTheSecondButtonAndOkStoresIt) {
  Settings(7, QStringLiteral("/usr/bin/prog"));
  Run([](CMiniLauncherDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ミニランチャーの機能設定"));
    EXPECT_FALSE(ModeButton(dialog, "associatedApp")->isChecked());
    EXPECT_TRUE(ModeButton(dialog, "registeredApp")->isChecked());
    EXPECT_FALSE(ModeButton(dialog, "runOnly")->isChecked());
    EXPECT_EQ(PathBox(dialog)->text(), QStringLiteral("/usr/bin/prog"));
    Button(dialog, "ok")->click();
  });
  EXPECT_EQ(profile.GetProfileInt("Lunch", "Mode", -1), 1);
  EXPECT_EQ(profile.GetProfileString("Lunch", "Path", "?"), "/usr/bin/prog");
}

TEST_F(MiniLauncherDlgTest, OkStoresTheCheckedModeAndTheTypedPathCancelStoresNothing) {
  Settings(0, QStringLiteral("/bin/old"));
  Run([](CMiniLauncherDlg& dialog) {
    ModeButton(dialog, "runOnly")->click();
    PathBox(dialog)->setText(QStringLiteral("/bin/new"));
    Button(dialog, "cancel")->click();
  });
  EXPECT_EQ(profile.GetProfileInt("Lunch", "Mode", -1), 0);
  EXPECT_EQ(profile.GetProfileString("Lunch", "Path", "?"), "/bin/old");
  Run([](CMiniLauncherDlg& dialog) {
    ModeButton(dialog, "runOnly")->click();
    PathBox(dialog)->setText(QStringLiteral("/bin/new"));
    Button(dialog, "ok")->click();
  });
  EXPECT_EQ(profile.GetProfileInt("Lunch", "Mode", -1), 2);
  EXPECT_EQ(profile.GetProfileString("Lunch", "Path", "?"), "/bin/new");
}

TEST_F(MiniLauncherDlgTest, ThePathBoxTakes255CharactersAsTyped) {
  Run([](CMiniLauncherDlg& dialog) {
    QLineEdit* box = PathBox(dialog);
    box->clear();
    QTest::keyClicks(box, QString(300, QLatin1Char('a')));
    EXPECT_EQ(box->text().size(), 255);
    Button(dialog, "cancel")->click();
  });
}

// Regression: a longer stored path was cut to 255 by merely opening the
// dialog and pressing OK.
TEST_F(MiniLauncherDlgTest, ALongerStoredPathIsKeptWholeUntilEditedAndThenOnlyShrinks) {
  const QString stored = QStringLiteral("/opt/") + QString(300, QLatin1Char('p'));
  Settings(1, stored);
  Run([](CMiniLauncherDlg& dialog) { Button(dialog, "ok")->click(); });
  EXPECT_EQ(profile.GetProfileString("Lunch", "Path", "?"), stored.toStdString());
  Run([](CMiniLauncherDlg& dialog) {
    QLineEdit* box = PathBox(dialog);
    box->end(false);
    QTest::keyClicks(box, QStringLiteral("x"));
    QTest::keyClick(box, Qt::Key_Backspace);
    Button(dialog, "ok")->click();
  });
  EXPECT_EQ(profile.GetProfileString("Lunch", "Path", "?"), stored.chopped(1).toStdString());
}

TEST_F(MiniLauncherDlgTest, BrowsingAndCancellingPutsThePreviousPathBack) {
  Settings(1, QStringLiteral("/bin/before"));
  Run([](CMiniLauncherDlg& dialog) {
    PathBox(dialog)->setText(QStringLiteral("/typed/path"));
    Button(dialog, "browse")->click();
    EXPECT_EQ(PathBox(dialog)->text(), QStringLiteral("/bin/before"));
    Button(dialog, "ok")->click();
  });
  EXPECT_EQ(choosers, 1);
  EXPECT_EQ(profile.GetProfileString("Lunch", "Path", "?"), "/bin/before");
}

TEST_F(MiniLauncherDlgTest, BrowsingAndChoosingPutsTheChosenProgramInTheBox) {
  chosen = Q(recorder);
  Run([this](CMiniLauncherDlg& dialog) {
    Button(dialog, "browse")->click();
    EXPECT_EQ(PathBox(dialog)->text(), Q(recorder));
    Button(dialog, "ok")->click();
  });
  EXPECT_EQ(RecentFileName::FromStored(profile.GetProfileString("Lunch", "Path", "?")), Q(recorder));
}

TEST(ExecutableFileDialog, TheFirstFilterShowsExecutablesAndFoldersTheSecondEverything) {
  TempDir dir;
  WriteFileBytes(dir.File("prog"), "#!/bin/sh\n");
  std::filesystem::permissions(dir.File("prog"), std::filesystem::perms::owner_all);
  WriteFileBytes(dir.File("text"), "x");
  ExecutableFileDialog chooser(nullptr, QStringLiteral("t"));
  EXPECT_TRUE(chooser.Shows(Q(dir.File("prog"))));
  EXPECT_TRUE(chooser.Shows(Q(dir.Path().string())));
  EXPECT_FALSE(chooser.Shows(Q(dir.File("text"))));
  chooser.selectNameFilter(ExecutableFileDialog::AllFilesFilter());
  emit chooser.filterSelected(ExecutableFileDialog::AllFilesFilter());
  EXPECT_TRUE(chooser.Shows(Q(dir.File("text"))));
}

}  // namespace
