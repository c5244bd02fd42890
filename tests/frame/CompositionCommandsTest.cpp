// An input method's composition open while the user saves, runs another
// command or reads the status bar: the program acts on the text the user
// committed, never on a preedit that may still be cancelled.

#include <gtest/gtest.h>

#include <QAction>
#include <QInputMethodEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <functional>

#include "ByteStrings.h"
#include "CaretJumps.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"

namespace {

const std::string kNihongo = "\x82\xc9\x82\xd9\x82\xf1\x82\xb2";  // にほんご

class CompositionCommands : public testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(path, "abc");
    ASSERT_TRUE(frame.Document().OpenDocumentFile(QString::fromStdString(path)));
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    control().setFocus();
    WritableAsWhenFocusReturns(frame.View());
    control().SetSelection(3, 3);
  }
  void Preedit(const QString& text) {
    QInputMethodEvent event(text, {QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, text.size(), 1)});
    QCoreApplication::sendEvent(&control(), &event);
  }
  void Commit(const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(&control(), &event);
  }
  QToolButton* Button(int id) {
    return qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(frame.Action(id)));
  }
  std::string Text() { return frame.View().TextForSave(nullptr); }
  EditorControl& control() { return frame.View().Control(); }

  TempDir dir;
  std::string path = dir.File("text.txt");
  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
};


TEST_F(CompositionCommands, SavingDuringACompositionCommitsItFirstFromEveryPath) {
  struct Path {
    const char* name;
    std::function<void()> save;
  };
  const Path ways[] = {
      {"menu", [this] { frame.Action(ids::kFileSave)->trigger(); }},
      {"tool bar", [this] { QTest::mouseClick(Button(ids::kFileSave), Qt::LeftButton); }},
      {"dispatcher", [this] { frame.Dispatcher().Dispatch(ids::kFileSave); }},
      {"accelerator", [this] { QTest::keyClick(&control(), Qt::Key_S, Qt::ControlModifier); }},
  };
  for (const Path& way : ways) {
    WriteFileBytes(path, "abc");
    ASSERT_TRUE(frame.Document().OpenDocumentFile(QString::fromStdString(path)));
    WritableAsWhenFocusReturns(frame.View());
    control().SetSelection(3, 3);
    Preedit(QStringLiteral("にほんご"));
    way.save();
    EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex("abc" + kNihongo)) << way.name;
    EXPECT_FALSE(control().IsComposing()) << way.name;
    EXPECT_FALSE(frame.View().IsModified()) << way.name;
    frame.UpdateIdle();
    EXPECT_EQ(frame.PaneText(1), QStringLiteral("○")) << way.name;
    EXPECT_EQ(frame.PaneText(2), QStringLiteral("11バイト")) << way.name;
    // What was saved stays: nothing is left for a later cancel to take back.
    QInputMethodEvent cancel;
    QCoreApplication::sendEvent(&control(), &cancel);
    EXPECT_EQ(Text(), "abc" + kNihongo) << way.name;
  }
}

TEST_F(CompositionCommands, ThePanesAndUndoIgnoreTheUncommittedText) {
  Preedit(QStringLiteral("にほんご"));
  frame.UpdateIdle();
  EXPECT_EQ(frame.PaneText(1), QStringLiteral("○"));
  EXPECT_EQ(frame.PaneText(2), QStringLiteral("3バイト"));
  EXPECT_EQ(frame.PaneText(3), QStringLiteral("1行"));
  EXPECT_FALSE(Button(ids::kUndo)->isEnabled());
  EXPECT_FALSE(frame.Dispatcher().Update(ids::kUndo).enabled);
  QInputMethodEvent cancel;
  QCoreApplication::sendEvent(&control(), &cancel);
  frame.UpdateIdle();
  EXPECT_EQ(frame.PaneText(1), QStringLiteral("○"));
  EXPECT_EQ(frame.PaneText(2), QStringLiteral("3バイト"));
  Preedit(QStringLiteral("にほんご"));
  Commit(QStringLiteral("日本語"));
  frame.UpdateIdle();
  EXPECT_EQ(frame.PaneText(1), QStringLiteral("●"));
  EXPECT_EQ(frame.PaneText(2), QStringLiteral("9バイト"));
  EXPECT_TRUE(Button(ids::kUndo)->isEnabled());
}

// At the end of a wrapped row, a preedit that wraps shows on the rows
// below: the line pane stays on the row where the composition started.
TEST_F(CompositionCommands, TheLinePaneCountsNoRowsThatOnlyThePreeditTakes) {
  WriteFileBytes(path, std::string(40, 'x') + std::string(200, 'y'));
  ASSERT_TRUE(frame.Document().OpenDocumentFile(QString::fromStdString(path)));
  WritableAsWhenFocusReturns(frame.View());
  ASSERT_GE(control().SendScintilla(QsciScintillaBase::SCI_WRAPCOUNT, 0UL), 2);
  control().SetSelection(240, 240);
  frame.UpdateIdle();
  const QString atTheEnd = frame.PaneText(3);
  Preedit(QString(200, QChar(u'あ')));
  ASSERT_GT(CaretJumps(control()).DisplayRowOf(control().CaretPosition()) + 1,
            atTheEnd.chopped(1).toInt());  // the caret stands in the preedit, rows below
  frame.UpdateIdle();
  EXPECT_EQ(frame.PaneText(3), atTheEnd);
  Commit(QString(200, QChar(u'あ')));
  frame.UpdateIdle();
  EXPECT_NE(frame.PaneText(3), atTheEnd);  // now the text's own rows
}

// Phrases, Undo and the other commands act after the composition became text.
TEST_F(CompositionCommands, OtherCommandsSeeTheCompositionAsCommittedText) {
  Preedit(QStringLiteral("にほんご"));
  QTest::keyClick(&control(), Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(Text(), "abc" + kNihongo + "Word1");
  Preedit(QStringLiteral("にほんご"));
  frame.Dispatcher().Dispatch(ids::kUndo);  // the composition is committed, and that commit undone
  EXPECT_EQ(Text(), "abc" + kNihongo + "Word1");
  frame.Dispatcher().Dispatch(ids::kUndo);
  EXPECT_EQ(Text(), "abc" + kNihongo);
  frame.Dispatcher().Dispatch(ids::kUndo);
  EXPECT_EQ(Text(), "abc");
  EXPECT_FALSE(frame.View().IsModified());
}

}  // namespace
