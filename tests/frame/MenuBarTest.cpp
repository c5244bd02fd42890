// The menu bar as the user meets it: menus that leave the text editable,
// Help as a menu of the bar, prompts of disabled items.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"

namespace {

class MenuBarTest : public testing::Test {
 protected:
  void SetUp() override {
    frame.Document().OnNewDocument();
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    Control().setFocus();
    QTest::qWait(2 * CKb_zeva3View::kTimerPeriodMs);  // the tick makes the text writable
  }
  void TearDown() override {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }

  EditorControl& Control() { return frame.View().Control(); }
  std::string Text() { return frame.View().TextForSave(nullptr); }
  QMenuBar* Bar() { return frame.menuBar(); }
  QAction* MenuTitled(const QString& title) {
    for (QAction* action : Bar()->actions())
      if (action->menu() && action->text() == title) return action;
    return nullptr;
  }
  // Opens a menu of the bar as a click on its title does.
  QMenu* OpenMenu(const QString& title) {
    QAction* action = MenuTitled(title);
    if (!action) return nullptr;
    Bar()->setActiveAction(action);
    QTest::qWait(20);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  }
  bool Enabled(int id) { return frame.Dispatcher().Update(id).enabled; }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
};

// Opening a menu took the focus from the text, which made it read-only:
// Cut and Paste showed disabled and no menu command could change the text.
TEST_F(MenuBarTest, OpeningAMenuMadeTheTextReadOnlySoCutPasteAndUndoDidNothing) {
  QTest::keyClicks(&Control(), QStringLiteral("abc"));
  Control().SetSelection(0, 1);
  QApplication::clipboard()->setText(QStringLiteral("a"));  // the menu's items are settled as it opens

  ASSERT_NE(OpenMenu(QStringLiteral("編集(&E)")), nullptr);
  QTest::qWait(2 * CKb_zeva3View::kTimerPeriodMs);
  EXPECT_FALSE(Control().IsReadOnly());
  for (int id : {ids::kCut, ids::kPaste, ids::kUndo}) EXPECT_TRUE(Enabled(id)) << id;
  frame.RunCommand(ids::kCut);
  EXPECT_EQ(Text(), "bc");
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a"));
  frame.RunCommand(ids::kPaste);
  EXPECT_EQ(Text(), "abc");
  frame.RunCommand(ids::kUndo);
  EXPECT_EQ(Text(), "bc");

  // The menu's own item, chosen by its access key while the menu is open.
  QMenu* edit = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(edit, nullptr);
  QTest::keyClick(edit, Qt::Key_P);
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

  // Tool bar and accelerator once the menu has closed.
  Control().SetSelection(0, 2);
  QToolBar* bar = frame.ToolBar();
  frame.UpdateIdle();
  QTest::mouseClick(bar->widgetForAction(frame.Action(ids::kCut)), Qt::LeftButton);
  EXPECT_EQ(Text(), "c");
  QTest::keyClick(&Control(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "abc");
}

// Focus that leaves the window still makes the text read-only.
TEST_F(MenuBarTest, TheTextIsReadOnlyWhileAnotherWindowHasTheFocus) {
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_TRUE(Control().IsReadOnly());
  QTest::qWait(2 * CKb_zeva3View::kTimerPeriodMs);
  EXPECT_TRUE(Control().IsReadOnly());
  EXPECT_FALSE(Enabled(ids::kPaste));
}

}  // namespace
