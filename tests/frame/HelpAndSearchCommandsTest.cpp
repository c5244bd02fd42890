// The kanji code, help, home page, find and replace commands reach their
// handlers from the main window's menu, keys and tool bar.

#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QTest>

#include "CKanjiCodeDlg.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"
#include "DialogTestSupport.h"

namespace {

class ViewCommandsThroughFrame : public testing::Test {
 protected:
  void SetUp() override {
    frame.Document().OnNewDocument();
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    frame.UpdateIdle();
  }
  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
};

TEST_F(ViewCommandsThroughFrame, KanjiCodeMenuItemOpensTheDialogAndOkSetsTheSaveCode) {
  ASSERT_TRUE(frame.Action(ids::kKanjiCodeSettings)->isEnabled());
  AnswerDialogs<CKanjiCodeDlg>([](CKanjiCodeDlg& dialog) {
    dialog.SaveGroup()->button(CKanjiCodeDlg::kFirstSaveButton + 3)->click();
    dialog.accept();
  });
  frame.Action(ids::kKanjiCodeSettings)->trigger();
  frame.UpdateIdle();
  EXPECT_EQ(frame.PaneText(4), QStringLiteral("SJS→EUC"));
}

}  // namespace
