// The window is first shown with its real status panes and tool-bar states:
// no frame with the panes' sizing texts or every button enabled.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QLabel>

#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"

namespace {

// The texts and states as the window is exposed: no timer tick has run
// when show() returns (no event has been processed since construction).
struct ShownState {
  QStringList panes;
  bool goToLine, paste, undo, copy;
};

ShownState StateRightAfterShow(CMainFrame& frame) {
  frame.show();
  ShownState state;
  for (int i = 1; i <= 7; ++i) state.panes << frame.PaneText(i);
  state.goToLine = frame.Action(ids::kGoToLine)->isEnabled();
  state.paste = frame.Action(ids::kPaste)->isEnabled();
  state.undo = frame.Action(ids::kUndo)->isEnabled();
  state.copy = frame.Action(ids::kCopy)->isEnabled();
  return state;
}

TEST(FirstShow, ANewDocumentIsFirstShownWithItsRealPanesAndDisabledButtons) {
  FreshSettings();
  ScriptedUser user;
  QApplication::clipboard()->clear();
  CMainFrame frame(CKb_zeva3App::Instance()->Profile(), nullptr, nullptr);
  frame.Document().OnNewDocument();
  ShownState state = StateRightAfterShow(frame);
  QString date = QDateTime::currentDateTime().toString(QStringLiteral("MM/dd"));
  EXPECT_EQ(state.panes.mid(0, 6), (QStringList{QStringLiteral("○"), QStringLiteral("0バイト"), QStringLiteral("1行"),
                                                QStringLiteral("SJS→SJS"), QStringLiteral("挿入"), date}));
  EXPECT_NE(state.panes[6], QStringLiteral("00:00")) << "the clock, not its sizing text";
  EXPECT_FALSE(state.goToLine) << "the text is empty";
  EXPECT_FALSE(state.paste) << "the clipboard is empty";
  EXPECT_FALSE(state.undo);
  EXPECT_FALSE(state.copy);
}

TEST(FirstShow, AnOpenedEucFileIsFirstShownWithItsCodesAndSize) {
  ProfileFile& profile = FreshSettings();
  profile.WriteProfileInt("KanaCode", "Load", 4);  // automatic
  profile.WriteProfileInt("KanaCode", "Save", 4);
  ScriptedUser user;
  CMainFrame frame(CKb_zeva3App::Instance()->Profile(), nullptr, nullptr);
  ASSERT_TRUE(frame.Document().OpenDocumentFile(QStringLiteral(KB_TEST_DATA_DIR "/euc_prose.txt")));
  ShownState state = StateRightAfterShow(frame);
  EXPECT_EQ(state.panes[1], QStringLiteral("241バイト"));
  EXPECT_EQ(state.panes[3], QStringLiteral("EUC→EUC"));
  EXPECT_TRUE(state.goToLine);
}

}  // namespace
