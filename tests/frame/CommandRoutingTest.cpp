// Menu items, accelerators and tool-bar buttons all end in the dispatcher
// with their own command id, and the dispatcher routes view, document,
// frame, application, first handler wins.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QStatusBar>
#include <QToolButton>

#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandDispatcher.h"
#include "CommandIds.h"
#include "CommandTexts.h"
#include "FrameTestSupport.h"
#include "MenuLayout.h"

namespace {

class CommandRouting : public testing::Test {
 protected:
  void SetUp() override {
    // The recorder takes every command from the start, so idle-time updates
    // (which disable what nobody handles) never disable one under test.
    frame.Dispatcher().SetTargets({&recorder});
    frame.Document().OnNewDocument();
    frame.show();
    // Accelerators belong to the active window.
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
  }
  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  RecordingTarget recorder;
  CMainFrame frame{profile, nullptr, nullptr};
};

TEST_F(CommandRouting, EveryMenuItemSendsItsId) {
  for (const res::Menu& menu : res::MenuBar()) {
    for (const res::MenuItem& item : menu.items) {
      if (item.id == 0) continue;
      QAction* action = frame.Action(item.id);
      ASSERT_NE(action, nullptr) << item.text;
      EXPECT_EQ(action->text(), QString::fromUtf8(item.text));
      recorder.received.clear();
      action->trigger();
      EXPECT_EQ(recorder.received, std::vector<int>{item.id}) << item.text;
    }
  }
}

// The buttons left to right with their tool tips and prompts, as the user
// reads them.
struct ToolBarButton {
  int id;
  const char* toolTip;
  const char* prompt;
};
const ToolBarButton kToolBarButtons[] = {
    {ids::kNewWindow, "新しい窓を開く(Alt+N)", "もう一つエディタを起動します。"},
    {ids::kFileNew, "新規ファイル(Ctrl+N)", "新規にファイルを作成します。"},
    {ids::kFileOpen, "開く(Ctrl+O)", "既存のファイルを開きます。"},
    {ids::kFileSave, "上書き保存(Ctrl+S)", "ファイルを上書き保存します。"},
    {ids::kPrintPreview, "印刷プレビュー", "印刷のプレビューをします。"},
    {ids::kPrint, "印刷(Ctrl+P)", "編集中の文書を印刷します。"},
    {ids::kUndo, "元に戻す(Ctrl+Z)", "直前に行った動作を元に戻します。"},
    {ids::kCut, "切り取り(Ctrl+X)", "選択範囲をクリップボードに切り取ります。"},
    {ids::kCopy, "コピー(Ctrl+C)", "選択範囲をクリップボードにコピーします。"},
    {ids::kPaste, "貼り付け(Ctrl+V)", "クリップボードの内容を貼り付けます。"},
    {ids::kFind, "検索(Ctrl+F)", "文字列を検索します。"},
    {ids::kReplace, "置換(Ctrl+H)", "文字列を置き換えます。"},
    {ids::kGoToLine, "行指定移動(Ctrl+G)", "行番号を指定して移動します。"},
    {ids::kInsertPhrase, "一言挿入(Ctrl+1...5)", "あらかじめ登録された単語を挿入します。"},
    {ids::kQuickTile, "クイックタイル(Ctrl+T)", "登録された位置に窓を配置します。"},
    {ids::kMiniLauncher, "ミニランチャー(F3)", "登録アプリケーションを起動します。"},
    {ids::kCustomButton, "カスタムボタン(Ctrl+B)", "登録した機能を呼び出します。"},
    {ids::kExit, "終了(Alt+F4)", "エディタを終了します。"},
};

TEST_F(CommandRouting, EveryToolBarButtonSendsItsIdAndHasItsTexts) {
  std::size_t buttons = 0;
  for (QAction* action : frame.ToolBar()->actions()) {
    if (action->isSeparator()) continue;
    ASSERT_LT(buttons, std::size(kToolBarButtons));
    const ToolBarButton& expected = kToolBarButtons[buttons++];
    recorder.received.clear();
    auto* button = qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    action->setEnabled(true);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(recorder.received, std::vector<int>{expected.id}) << expected.toolTip;
    EXPECT_EQ(action->toolTip(), QString::fromUtf8(expected.toolTip));
    EXPECT_EQ(action->statusTip(), QString::fromUtf8(expected.prompt));
    EXPECT_FALSE(action->icon().isNull());
  }
  EXPECT_EQ(buttons, std::size(kToolBarButtons));
}

TEST_F(CommandRouting, EveryAcceleratorSendsItsIdEvenWhileTheTextHasTheFocus) {
  frame.View().Control().setFocus();
  for (const res::Accelerator& accelerator : res::Accelerators()) {
    recorder.received.clear();
    QTest::keyClick(&frame.View().Control(), accelerator.keys.key(), accelerator.keys.keyboardModifiers());
    EXPECT_EQ(recorder.received, std::vector<int>{accelerator.id})
        << QKeySequence(accelerator.keys).toString().toStdString();
  }
}

TEST_F(CommandRouting, KeypadThreeInsertsPhraseThreeAsCtrlThreeDoes) {
  QTest::keyClick(&frame.View().Control(), Qt::Key_3, Qt::ControlModifier | Qt::KeypadModifier);
  QTest::keyClick(&frame.View().Control(), Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(recorder.received, (std::vector<int>{ids::kPhrase1 + 2, ids::kPhrase1 + 2}));
}

TEST_F(CommandRouting, HoveringAnItemShowsItsPromptThenTheIdleText) {
  frame.Action(ids::kFileSave)->showStatusText(&frame);  // as a menu does for its highlighted item
  EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("ファイルを上書き保存します。"));
  EXPECT_EQ(frame.PaneText(0), QStringLiteral("Kaboma Edit 3"));
}

// Targets for the routing order.
struct Target : CommandTarget {
  Target(std::vector<std::string>& log, std::string name, std::vector<int> handled)
      : log(log), name(std::move(name)), handled(std::move(handled)) {}
  bool HandlesCommand(int id) const override { return std::find(handled.begin(), handled.end(), id) != handled.end(); }
  void OnCommand(int) override { log.push_back(name); }
  std::vector<std::string>& log;
  std::string name;
  std::vector<int> handled;
};

TEST(CommandDispatcher, FirstTargetThatHandlesACommandWinsAndUnhandledCommandsAreDisabled) {
  std::vector<std::string> log;
  Target view(log, "view", {1}), document(log, "document", {1, 2}), frame(log, "frame", {2, 3}),
      application(log, "application", {3, 4});
  CommandDispatcher dispatcher;
  dispatcher.SetTargets({&view, &document, &frame, &application});
  for (int id : {1, 2, 3, 4}) EXPECT_TRUE(dispatcher.Dispatch(id));
  EXPECT_FALSE(dispatcher.Dispatch(5));
  EXPECT_EQ(log, (std::vector<std::string>{"view", "document", "frame", "application"}));
  EXPECT_TRUE(dispatcher.Update(4).enabled);
  EXPECT_FALSE(dispatcher.Update(5).enabled);
}

// Regression: Ctrl+G opened go-to-line on an empty text although its menu
// item and button showed disabled. Whatever path a command takes, its update
// rule decides.
TEST(CommandDispatcher, ACommandItsUpdateRuleDisablesDoesNothing) {
  struct Disabling : CommandTarget {
    bool HandlesCommand(int) const override { return true; }
    void OnCommand(int) override { ++runs; }
    bool OnUpdateCommand(int, CommandUpdate& update) override {
      update.enabled = enabled;
      return true;
    }
    bool enabled = false;
    int runs = 0;
  } target;
  CommandDispatcher dispatcher;
  dispatcher.SetTargets({&target});
  EXPECT_FALSE(dispatcher.Dispatch(7));
  target.enabled = true;
  EXPECT_TRUE(dispatcher.Dispatch(7));
  EXPECT_EQ(target.runs, 1);
}

}  // namespace
