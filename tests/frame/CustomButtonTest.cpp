// The custom button in the running window: what Ctrl+B runs for each
// stored value, and what its settings dialog stores.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QTest>

#include "CCustomButton.h"
#include "CCustomButtonDlg.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "CommandTable.h"
#include "DialogTestSupport.h"
#include "FrameTestSupport.h"
#include "ShiftJisCodec.h"

namespace {

using platform::MessageIcon;

// Lets the document run the button and records every other command.
class ButtonRecorder : public CommandTarget {
 public:
  explicit ButtonRecorder(CommandTarget& document) : m_document(document) {}
  bool HandlesCommand(int) const override { return true; }
  void OnCommand(int id) override {
    if (id == ids::kCustomButton) m_document.OnCommand(id);
    else received.push_back(id);
  }
  std::vector<int> received;

 private:
  CommandTarget& m_document;
};

class CustomButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ShowWithNewDocument(frame));
    frame.View().Control().setFocus();
  }
  void Store(std::string_view bytes) {
    profile.WriteProfileString("MenuCommand", "Custom", kanji::ShiftJisCodec::Decode(bytes));
  }
  std::string Stored() { return profile.GetProfileString("MenuCommand", "Custom", "(none)"); }
  // Ctrl+B, then the queued command's turn.
  void PressCtrlB() {
    QTest::keyClick(&frame.View().Control(), Qt::Key_B, Qt::ControlModifier);
    QApplication::processEvents();
  }
  void RecordCommands() { frame.Dispatcher().SetTargets({&recorder}); }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
  ButtonRecorder recorder{frame.Document()};
};

TEST_F(CustomButtonTest, BothCommandsAreTheDocumentsAndTheButtonIsInNoTable) {
  EXPECT_TRUE(frame.Document().HandlesCommand(ids::kCustomButton));
  EXPECT_TRUE(frame.Document().HandlesCommand(ids::kCustomButtonSettings));
  EXPECT_FALSE(frame.View().HandlesCommand(ids::kCustomButton));
  for (const CommandEntry& entry : CommandTable) EXPECT_NE(entry.id, static_cast<unsigned>(ids::kCustomButton));
}

TEST_F(CustomButtonTest, UnconfiguredCtrlBOpensItsSettingsOnItsOwnEntry) {
  QString shown;
  AnswerDialogs<CCustomButtonDlg>([&](CCustomButtonDlg& dialog) {
    shown = dialog.m_list->currentItem()->text();
    Button(dialog, "cancel")->click();
  });
  PressCtrlB();
  EXPECT_EQ(shown, QStringLiteral("カスタムボタン設定..."));
  EXPECT_EQ(Stored(), "(none)") << "cancel stores nothing";
}

TEST_F(CustomButtonTest, RegisteringCopyStoresItsCharacterAndCtrlBThenCopies) {
  AnswerDialogs<CCustomButtonDlg>([](CCustomButtonDlg& dialog) {
    dialog.m_list->setCurrentRow(12);
    Button(dialog, "ok")->click();
  });
  frame.RunCommand(ids::kCustomButtonSettings);
  EXPECT_EQ(Stored(), "<");
  frame.View().ShowDocument("abc", {});
  frame.View().Control().SetSelection(0, 2);
  QApplication::clipboard()->clear();
  PressCtrlB();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("ab"));
}

TEST_F(CustomButtonTest, TheCommandIsQueuedNotRunInsideTheButtonsHandler) {
  Store("Z");
  RecordCommands();
  frame.RunCommand(ids::kCustomButton);
  EXPECT_TRUE(recorder.received.empty());
  QApplication::processEvents();
  EXPECT_EQ(recorder.received, std::vector<int>{ids::kKanjiCodeSettings});
}

TEST_F(CustomButtonTest, OnlyTheFirstByteCountsAndUnusableValuesRunTheSettings) {
  struct Case {
    std::string_view stored;
    int runs;
  };
  const Case cases[] = {
      {"Y", ids::kCustomButtonSettings},   {"YZ<", ids::kCustomButtonSettings}, {"<Z", ids::kCopy},
      {":", ids::kCustomButtonSettings},   {"_", ids::kCustomButtonSettings},   {"d", ids::kCustomButtonSettings},
      {"", ids::kCustomButtonSettings},    {"\x80", ids::kCustomButtonSettings}, {"c", ids::kHomePage},
      {"X", ids::kCycleMenuSettings},      {"0", ids::kNewWindow},
  };
  RecordCommands();
  for (const Case& c : cases) {
    Store(c.stored);
    recorder.received.clear();
    frame.RunCommand(ids::kCustomButton);
    QApplication::processEvents();
    EXPECT_EQ(recorder.received, std::vector<int>{c.runs}) << c.stored;
  }
}

TEST_F(CustomButtonTest, SettingsOpenOnTheStoredEntryOrTheFallbackAndAStoredSeparatorAsItIs) {
  struct Case {
    std::string_view stored;
    int row;
  };
  const Case cases[] = {{"<", 12}, {"c", 51}, {"d", 41}, {"\xFF", 41}, {"", 41}, {"/", 41}, {":", 10}};
  for (const Case& c : cases) {
    Store(c.stored);
    int shown = -1;
    AnswerDialogs<CCustomButtonDlg>([&](CCustomButtonDlg& dialog) {
      shown = dialog.m_list->currentRow();
      Button(dialog, "cancel")->click();
    });
    frame.RunCommand(ids::kCustomButtonSettings);
    EXPECT_EQ(shown, c.row) << c.stored;
  }
}

TEST_F(CustomButtonTest, ASeparatorIsRefusedByTheMainWindowAndTheDialogStaysOpen) {
  bool stillOpen = false;
  int selected = -1;
  AnswerDialogs<CCustomButtonDlg>([&](CCustomButtonDlg& dialog) {
    dialog.m_list->setCurrentRow(23);
    emit dialog.m_list->itemDoubleClicked(dialog.m_list->item(23));
    Button(dialog, "ok")->click();
    stillOpen = dialog.result() != QDialog::Accepted;
    selected = dialog.m_list->currentRow();
    dialog.m_list->setCurrentRow(42);
    emit dialog.m_list->itemDoubleClicked(dialog.m_list->item(42));  // double-click is OK
  });
  frame.RunCommand(ids::kCustomButtonSettings);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(selected, 23);
  ASSERT_EQ(user.asked.size(), 2u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("このコマンドは登録できません。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("エラー"));
  EXPECT_EQ(user.asked[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(user.asked[0].buttons, platform::MessageButtons::Ok);
  EXPECT_EQ(Stored(), "Z");
}

TEST_F(CustomButtonTest, CancelAfterChangingTheSelectionKeepsTheStoredValue) {
  Store("<");
  AnswerDialogs<CCustomButtonDlg>([](CCustomButtonDlg& dialog) {
    dialog.m_list->setCurrentRow(3);
    Button(dialog, "cancel")->click();
  });
  frame.RunCommand(ids::kCustomButtonSettings);
  EXPECT_EQ(Stored(), "<");
}

TEST_F(CustomButtonTest, TheButtonRunsTheMenuItemsHandlerWithItsMessage) {
  Store("L");  // フラットツールバー...
  PressCtrlB();
  frame.Action(ids::kFlatToolBar)->trigger();
  ASSERT_EQ(user.asked.size(), 2u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("次回起動時にツールバーが\n通常ボタン表示になります。"));
  EXPECT_EQ(user.asked[1].text, QStringLiteral("次回起動時にツールバーが\nフラットボタン表示になります。"));
  EXPECT_EQ(user.asked[0].icon, user.asked[1].icon);
}

}  // namespace
