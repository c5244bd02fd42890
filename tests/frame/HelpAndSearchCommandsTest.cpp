// The kanji code, help, home page, find and replace commands reach their
// handlers from the main window's menu, keys and tool bar.

#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QStandardPaths>
#include <QUrl>
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

TEST_F(ViewCommandsThroughFrame, F1AndTheHelpMenuReportMissingPagesAndHomePageOpensTheDesktop) {
  QStandardPaths::setTestModeEnabled(true);  // no installed copy of the pages takes part
  QTest::keyClick(&frame.View().Control(), Qt::Key_F1);
  frame.Action(ids::kHelpHtml)->trigger();
  ASSERT_EQ(user.asked.size(), 2u) << "the test program has no help folder beside it";
  EXPECT_EQ(user.asked[1].caption, QStringLiteral("ヘルプエラー"));
  QList<QUrl> opened;
  platform::SetDesktopHandler([&](const QUrl& url) {
    opened << url;
    return true;
  });
  frame.Action(ids::kHomePage)->trigger();
  EXPECT_EQ(opened.size(), 1);
  QStandardPaths::setTestModeEnabled(false);
}

}  // namespace
