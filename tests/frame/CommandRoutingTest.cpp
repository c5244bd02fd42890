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

TEST_F(CommandRouting, EveryToolBarButtonSendsItsIdAndHasItsTexts) {
  int buttons = 0;
  for (QAction* action : frame.ToolBar()->actions()) {
    if (action->isSeparator()) continue;
    ++buttons;
    recorder.received.clear();
    auto* button = qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    action->setEnabled(true);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(recorder.received.size(), 1u);
    int id = recorder.received[0];
    EXPECT_EQ(action->toolTip().toStdString(), res::CommandToolTip(id));
    EXPECT_EQ(action->statusTip().toStdString(), res::CommandPrompt(id));
    EXPECT_FALSE(action->icon().isNull());
  }
  EXPECT_EQ(buttons, 18);
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

}  // namespace
