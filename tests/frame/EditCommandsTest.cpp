// The editing commands reached as the user reaches them: keys typed into
// the text, menu items and tool-bar buttons of the main window, all through
// the frame's dispatcher to the view.

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "CGotoLineDlg.h"
#include "CLineEndDlg.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"

namespace {

class EditCommands : public testing::Test {
 protected:
  void SetUp() override {
    profile.WriteProfileInt("Config", "WordWrap", 0);
    ASSERT_TRUE(ShowWithNewDocument(frame));
    control().setFocus();
  }
  void Show(const std::string& text) {
    frame.View().ShowDocument(text, {});
    WritableAsWhenFocusReturns(frame.View());
  }
  void Keys(QKeyCombination keys) {
    QTest::keyClick(&control(), keys.key(), keys.keyboardModifiers());
    QCoreApplication::processEvents();
  }
  QToolButton* Button(int id) {
    return qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(frame.Action(id)));
  }
  std::string Text() { return frame.View().TextForSave(nullptr); }
  EditorControl& control() { return frame.View().Control(); }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
};

TEST_F(EditCommands, CaretJumpsByKeysAndMenu) {
  Show("abc\r\nde");
  control().SetSelection(1, 1);
  Keys(Qt::ControlModifier | Qt::Key_Right);
  EXPECT_EQ(control().CaretPosition(), 3);
  Keys(Qt::ControlModifier | Qt::Key_Down);
  EXPECT_EQ(control().CaretPosition(), 7);
  Keys(Qt::ControlModifier | Qt::Key_Left);
  EXPECT_EQ(control().CaretPosition(), 5);
  frame.Action(ids::kDocumentStart)->trigger();
  EXPECT_EQ(control().CaretPosition(), 0);
}

TEST_F(EditCommands, GoToLineFromItsButtonWhichIsDisabledWhileTheTextIsEmpty) {
  Show("");
  frame.UpdateIdle();
  EXPECT_FALSE(Button(ids::kGoToLine)->isEnabled());
  Show("a\r\nb\r\nc");
  frame.UpdateIdle();
  ASSERT_TRUE(Button(ids::kGoToLine)->isEnabled());
  platform::SetDialogHandler([](QDialog& dialog) {
    auto& goTo = dynamic_cast<CGotoLineDlg&>(dialog);
    goTo.LineEdit()->setText(QStringLiteral("2"));
    goTo.OkButton()->click();
    return dialog.result();
  });
  QTest::mouseClick(Button(ids::kGoToLine), Qt::LeftButton);
  EXPECT_EQ(control().CaretPosition(), 3);
}

TEST_F(EditCommands, PhrasesByKeysOnBothKeyboardsAndTheToolBarButton) {
  Show("");
  Keys(Qt::ControlModifier | Qt::Key_3);
  Keys(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_3);
  QTest::mouseClick(Button(ids::kInsertPhrase), Qt::LeftButton);
  EXPECT_EQ(Text(), "Word3Word3Word1");
  platform::SetDialogHandler([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("一言挿入の設定"));
    return 0;
  });
  frame.Action(ids::kPhraseSettings)->trigger();
}

TEST_F(EditCommands, AutoIndentFromItsMenuItemThenEnter) {
  Show("  abc");
  control().SetSelection(5, 5);
  frame.Action(ids::kAutoIndent)->trigger();
  EXPECT_EQ(frame.Dispatcher().Update(ids::kAutoIndent).checked, std::optional(true));
  Keys(QKeyCombination(Qt::Key_Return));
  EXPECT_EQ(Text(), "  abc\r\n  ");
}

TEST_F(EditCommands, LineEndReplacementFromItsMenuItem) {
  Show("a\nb\rc");
  platform::SetDialogHandler([](QDialog& dialog) {
    dynamic_cast<CLineEndDlg&>(dialog).OkButton()->click();
    return dialog.result();
  });
  frame.Action(ids::kLineEndReplacement)->trigger();
  EXPECT_EQ(Text(), "a\r\nb\r\nc");
}

// Opening a file is no undo step, and saving keeps the history: Ctrl+Z,
// Alt+Backspace and the tool-bar button each undo one edit.
TEST_F(EditCommands, UndoByKeysAndButtonNeitherUndoesTheLoadNorLosesTheHistoryOnSave) {
  TempDir dir;
  std::string path = dir.File("text.txt");
  WriteFileBytes(path, "abc");
  ASSERT_TRUE(frame.Document().OpenDocumentFile(QString::fromStdString(path)));
  WritableAsWhenFocusReturns(frame.View());
  frame.UpdateIdle();
  EXPECT_FALSE(Button(ids::kUndo)->isEnabled());
  Keys(Qt::ControlModifier | Qt::Key_Z);
  EXPECT_EQ(Text(), "abc");
  EXPECT_FALSE(frame.View().IsModified());
  control().SetSelection(3, 3);
  Keys(QKeyCombination(Qt::Key_X));
  Keys(Qt::ControlModifier | Qt::Key_1);  // an edit of its own: the phrase "Word1"
  ASSERT_TRUE(frame.Document().Save());
  EXPECT_EQ(ReadFileBytes(path), "abcxWord1");
  frame.UpdateIdle();
  ASSERT_TRUE(Button(ids::kUndo)->isEnabled());
  QTest::mouseClick(Button(ids::kUndo), Qt::LeftButton);
  EXPECT_EQ(Text(), "abcx");
  EXPECT_TRUE(frame.View().IsModified());
  Keys(Qt::AltModifier | Qt::Key_Backspace);
  EXPECT_EQ(Text(), "abc");
  Keys(Qt::ControlModifier | Qt::Key_Z);
  EXPECT_EQ(Text(), "abc");
}

}  // namespace
