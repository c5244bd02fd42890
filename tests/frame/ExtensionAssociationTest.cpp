// Associating extensions with the editor and removing associations, through
// the main window's commands, and what the desktop makes of them.

#include <gtest/gtest.h>

#include <QLineEdit>

#include <chrono>
#include <filesystem>
#include <thread>

#include "CExtAssocDlg.h"
#include "CExtUnassocDlg.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "DesktopExport.h"
#include "DesktopTestSupport.h"
#include "DialogTestSupport.h"
#include "ExtensionAssociation.h"
#include "FrameTestSupport.h"
#include "PlatformFamily.h"
#include "RegistryKey.h"
#include "RegistryStoreText.h"
#include "ShellFileTypes.h"
#include "UiText.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr const char* kAssociate = "拡張子関連付け";
constexpr const char* kRemove = "拡張子関連付け解除";

struct Message {
  const char* text;
  const char* caption;
  MessageIcon icon;
};

class ExtensionAssociationTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterShellFileTypes(home.Store(), home.dir.File("kb_zeva3"));
    DesktopExport::Export(home.Locations());
    frame = std::make_unique<CMainFrame>(profile, nullptr, nullptr);
  }

  // Runs a command with `entry` typed into its dialog and OK pressed.
  template <class Dialog>
  void Run(int command, const QString& entry) {
    AnswerDialogs<Dialog>([entry](Dialog& dialog) {
      EXPECT_EQ(dialog.m_extension, QString()) << "the entry starts empty";
      dialog.Edit()->setText(entry);
      Button(dialog, "ok")->click();
    });
    frame->RunCommand(command);
  }
  void Associate(const QString& entry) { Run<CExtAssocDlg>(ids::kAssociateExtension, entry); }
  void Remove(const QString& entry) { Run<CExtUnassocDlg>(ids::kRemoveAssociation, entry); }

  // What the store holds for an extension's key, read without opening it
  // (which would make it).
  std::string Bound(const std::string& key) {
    return RegistryStoreText(ReadFileBytes(home.Store())).Value(key, "").value_or("(none)");
  }
  void ExpectAsked(const std::vector<Message>& expected) {
    ASSERT_EQ(user.asked.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(user.asked[i].text, T(expected[i].text));
      EXPECT_EQ(user.asked[i].caption, T(expected[i].caption));
      EXPECT_EQ(user.asked[i].icon, expected[i].icon);
      EXPECT_EQ(user.asked[i].buttons, expected[i].icon == MessageIcon::Question ? MessageButtons::YesNo : MessageButtons::Ok);
    }
  }

  DesktopHome home;
  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(ExtensionAssociationTest, BothCommandsAreAvailable) {
  EXPECT_TRUE(frame->Dispatcher().Update(ids::kAssociateExtension).enabled);
  EXPECT_TRUE(frame->Dispatcher().Update(ids::kRemoveAssociation).enabled);
  EXPECT_FALSE(platform::IsNtFamily());
}

TEST_F(ExtensionAssociationTest, CapitalsBecomeSmallAndTheQuestionNamesTheKeyWithItsDot) {
  user.answers = {MessageAnswer::No};
  Associate(QStringLiteral("TXT"));
  ExpectAsked({{"拡張子【.txt】 を関連付けますか？", kAssociate, MessageIcon::Question}});
  EXPECT_EQ(Bound(".txt"), "(none)");
}

TEST_F(ExtensionAssociationTest, OnlySmallLettersAndDigitsAreAccepted) {
  for (const char* entry : {".c", "a-b", "ａｂｃ", "a b", "a_b", "é"}) {
    user.asked.clear();
    Associate(T(entry));
    ExpectAsked({{"英数字のみを入力して下さい。", kAssociate, MessageIcon::Stop}});
    user.asked.clear();
    Remove(T(entry));
    ExpectAsked({{"英数字のみを入力して下さい。", kRemove, MessageIcon::Stop}});
  }
}

TEST_F(ExtensionAssociationTest, DigitsAloneAreAnExtensionAndAnotherProgramsKeyIsTakenOver) {
  Associate(QStringLiteral("123"));
  ExpectAsked({{"拡張子【.123】 を関連付けますか？", kAssociate, MessageIcon::Question},
               {"関連付けに成功しました。", kAssociate, MessageIcon::Information}});
  EXPECT_EQ(Bound(".123"), "Kb_zeva3");
  RegistryKey other;
  ASSERT_EQ(other.Open(home.Store(), ".abc"), registry::kSuccess);
  other.SetString("", "OtherType");
  user.asked.clear();
  Associate(QStringLiteral("abc"));
  EXPECT_EQ(user.asked.size(), 2u) << "no further question";
  EXPECT_EQ(Bound(".abc"), "Kb_zeva3");
}

TEST_F(ExtensionAssociationTest, AnEmptyEntryCancelOrNoEndTheCommandQuietly) {
  Associate(QString());
  Remove(QString());
  AnswerDialogs<CExtAssocDlg>([](CExtAssocDlg& dialog) {
    dialog.Edit()->setText(QStringLiteral("abc"));
    Button(dialog, "cancel")->click();
  });
  frame->RunCommand(ids::kAssociateExtension);
  EXPECT_TRUE(user.asked.empty());
  user.answers = {MessageAnswer::No};
  Remove(QStringLiteral("123"));
  EXPECT_EQ(user.asked.size(), 1u);
}

TEST_F(ExtensionAssociationTest, RemovingAnExtensionWithoutAKeyFails) {
  user.answers = {MessageAnswer::Yes};
  Remove(QStringLiteral("zzz"));
  ExpectAsked({{"【.zzz】の関連付けを解除しますか？", kRemove, MessageIcon::Question},
               {"解除に失敗しました。\n手動で削除して下さい。", kRemove, MessageIcon::Stop}});
}

TEST_F(ExtensionAssociationTest, TheNtFamilyIsRefusedBeforeAnyDialog) {
  ExtensionAssociation refusing(frame.get(), home.Locations(), [] { return true; });
  refusing.Associate();
  refusing.RemoveAssociation();
  ExpectAsked({{"この機能は[WindowsNT]では使用できません。", "機能制限", MessageIcon::Exclamation},
               {"この機能は[WindowsNT]では使用できません。", "機能制限", MessageIcon::Exclamation}});
}

TEST_F(ExtensionAssociationTest, TheDesktopGivesABoundFileOurTypeAndTheSystemsAgainAfterRemoval) {
  std::string file = home.dir.File("main.c");
  WriteFileBytes(file, "int main(void) { return 0; }\n");
  QString before = ContentType(file);
  EXPECT_EQ(before, QStringLiteral("text/x-csrc"));
  Associate(QStringLiteral("C"));
  EXPECT_EQ(ContentType(file), QStringLiteral("application/x-kb-zeva3"));
  Remove(QStringLiteral("c"));
  ExpectAsked({{"拡張子【.c】 を関連付けますか？", kAssociate, MessageIcon::Question},
               {"関連付けに成功しました。", kAssociate, MessageIcon::Information},
               {"【.c】の関連付けを解除しますか？", kRemove, MessageIcon::Question},
               {"関連付けを解除しました。", kRemove, MessageIcon::Information}});
  EXPECT_EQ(ContentType(file), before);
}

// What a double click does: the desktop starts the registered program with
// the file as one argument.
TEST_F(ExtensionAssociationTest, OpeningABoundFileStartsTheRegisteredProgramWithIt) {
  std::string record = home.dir.File("record");
  std::string program = home.dir.File("a $dir/recorder");
  std::filesystem::create_directories(home.dir.File("a $dir"));
  WriteFileBytes(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + record + ".tmp\"\nmv \"" +
                              record + ".tmp\" \"" + record + "\"\n");
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  RegisterShellFileTypes(home.Store(), program);
  Associate(QStringLiteral("kbt"));
  std::string file = home.dir.File("my memo.kbt");
  WriteFileBytes(file, "メモ\n");
  RunDesktopTool(QStringLiteral("gio"), {QStringLiteral("open"), QString::fromStdString(file)});
  for (int i = 0; i < 100 && !std::filesystem::exists(record); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(ReadFileBytes(record), file + "\n");
}

}  // namespace
