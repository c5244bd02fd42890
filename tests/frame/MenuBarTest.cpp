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
    ASSERT_TRUE(ShowWithNewDocument(frame));
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

// Help was a button beside the bar, not a menu of it: Right from "設定"
// wrapped to "ファイル", and sliding the mouse onto it did not switch to it.
TEST_F(MenuBarTest, HelpWasAButtonBesideTheMenuBarNotOneOfItsMenus) {
  QAction* file = MenuTitled(QStringLiteral("ファイル(&F)"));
  QAction* settings = MenuTitled(QStringLiteral("設定(&C)"));
  QAction* help = MenuTitled(QStringLiteral("ヘルプ(&H)"));
  ASSERT_TRUE(file && settings && help);
  QRect helpTitle = Bar()->actionGeometry(help);
  EXPECT_GT(helpTitle.left(), Bar()->actionGeometry(settings).right() + helpTitle.width()) << "at the right end";
  EXPECT_GE(helpTitle.right(), Bar()->width() - helpTitle.height());

  // The arrow keys go round all six menus.
  QMenu* open = OpenMenu(QStringLiteral("設定(&C)"));
  ASSERT_NE(open, nullptr);
  QTest::keyClick(open, Qt::Key_Right);
  EXPECT_EQ(Bar()->activeAction(), help);
  EXPECT_EQ(QApplication::activePopupWidget(), help->menu());
  QTest::keyClick(help->menu(), Qt::Key_Right);
  EXPECT_EQ(Bar()->activeAction(), file);
  QTest::keyClick(file->menu(), Qt::Key_Left);
  EXPECT_EQ(Bar()->activeAction(), help);
  QTest::keyClick(help->menu(), Qt::Key_Escape);
  QTest::keyClick(Bar(), Qt::Key_Escape);

  // With a menu open, the mouse sliding onto the Help title opens Help.
  open = OpenMenu(QStringLiteral("ファイル(&F)"));
  ASSERT_NE(open, nullptr);
  QPoint global = Bar()->mapToGlobal(helpTitle.center());
  QMouseEvent slide(QEvent::MouseMove, open->mapFromGlobal(global), global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(open, &slide);
  QTest::qWait(20);
  EXPECT_EQ(Bar()->activeAction(), help);
  EXPECT_EQ(QApplication::activePopupWidget(), help->menu());
  help->menu()->close();
  QTest::qWait(20);

  // F10 opens the bar at its first menu.
  QTest::keyClick(&Control(), Qt::Key_F10);
  QTest::qWait(20);
  EXPECT_EQ(Bar()->activeAction(), file);
  EXPECT_EQ(QApplication::activePopupWidget(), file->menu());
}

// A disabled item could not be highlighted, so it showed no prompt in the
// status bar (a disabled tool-bar button does show its own).
TEST_F(MenuBarTest, HighlightedDisabledMenuItemsShowedNoPrompt) {
  QMenu* edit = OpenMenu(QStringLiteral("編集(&E)"));
  ASSERT_NE(edit, nullptr);
  QAction* cut = frame.Action(ids::kCut);
  ASSERT_FALSE(cut->isEnabled()) << "nothing is selected";
  // By the keyboard: Cut is the first item.
  QTest::keyClick(edit, Qt::Key_Down);
  EXPECT_EQ(edit->activeAction(), cut);
  EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("選択範囲をクリップボードに切り取ります。"));
  // By the mouse.
  QTest::keyClick(edit, Qt::Key_Down);
  QTest::keyClick(edit, Qt::Key_Down);
  QPoint at = edit->actionGeometry(cut).center();
  QMouseEvent move(QEvent::MouseMove, at, edit->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(edit, &move);
  QTest::qWait(20);
  EXPECT_EQ(edit->activeAction(), cut);
  EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("選択範囲をクリップボードに切り取ります。"));
  // Choosing it still does nothing.
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_TRUE(Text().empty());
}

}  // namespace
