// The kanji code, help, home page, find and replace commands reach their
// handlers from the main window's menu, keys and tool bar.

#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QStandardPaths>
#include <QUrl>
#include <QTest>

#include "CFindReplaceDlg.h"
#include "CKanjiCodeDlg.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"
#include "ShiftJisCodec.h"
#include "TextFinder.h"
#include "DialogTestSupport.h"

namespace {

class ViewCommandsThroughFrame : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ShowWithNewDocument(frame));
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

TEST_F(ViewCommandsThroughFrame, F1TheHelpMenuAndThePageAboutTheProgramReportMissingPages) {
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
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(user.asked.size(), 3u);
  QStandardPaths::setTestModeEnabled(false);
}

TEST_F(ViewCommandsThroughFrame, CtrlFFindsAndTheReplaceButtonReplacesAllWithTheCountInTheFirstPane) {
  frame.View().ShowDocument(kanji::ShiftJisCodec::Encode("犬と猫と犬").bytes, {});
  frame.View().Control().setFocus();
  QTest::keyClick(&frame.View().Control(), Qt::Key_F, Qt::ControlModifier);
  CFindReplaceDlg* dialog = frame.View().Finder().Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("検索"));
  dialog->FindEdit()->setText(QStringLiteral("犬"));
  QTest::keyClick(dialog->FindEdit(), Qt::Key_Return);
  EXPECT_EQ(frame.View().Control().SelectionEnd(), 3);

  auto* button = qobject_cast<QToolButton*>(frame.ToolBar()->widgetForAction(frame.Action(ids::kReplace)));
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isEnabled());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("置換"));
  dialog->ReplaceEdit()->setText(QStringLiteral("狐"));
  dialog->findChild<QAbstractButton*>(QStringLiteral("replaceAll"))->click();
  EXPECT_EQ(frame.View().TextForSave(nullptr), kanji::ShiftJisCodec::Encode("狐と猫と狐").bytes);
  EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("2 箇所を置換しました。"));
}

}  // namespace
