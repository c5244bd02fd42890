// The page editor: what it shows when it opens and what each button does
// to the working copies of the four pages and to the selection.

#include "CCyclePopupDlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "CommandTable.h"
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"

namespace {

using platform::MessageAnswer;

class CyclePopupDlgTest : public testing::Test {
 protected:
  void Open(const PageStrings& pages) { dialog = std::make_unique<CCyclePopupDlg>(pages); }
  void Click(const char* button) { Button(*dialog, button)->click(); }
  int Row() const { return dialog->m_pageList->currentItem() && dialog->m_pageList->currentItem()->isSelected()
                               ? dialog->m_pageList->currentRow()
                               : -1; }
  QStringList Rows() const {
    QStringList rows;
    for (int i = 0; i < dialog->m_pageList->count(); ++i) rows << dialog->m_pageList->item(i)->text();
    return rows;
  }

  ScriptedUser user;
  std::unique_ptr<CCyclePopupDlg> dialog;
};

TEST_F(CyclePopupDlgTest, OpensOnPageOneWithItsFirstRowAndTheWholeTableWithItsFirstEntry) {
  Open(CyclePages::Defaults());
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("カスタマイズ　サイクルポップアップ"));
  ASSERT_EQ(dialog->m_tab->count(), 4);
  for (int tab = 0; tab < 4; ++tab) EXPECT_EQ(dialog->m_tab->tabText(tab), QStringLiteral("Page%1").arg(tab + 1));
  EXPECT_EQ(dialog->m_tab->currentIndex(), 0);
  EXPECT_EQ(Rows().size(), 11);
  EXPECT_EQ(Rows()[3], QStringLiteral("----------------"));
  EXPECT_EQ(Row(), 0);
  ASSERT_EQ(dialog->m_commandList->count(), 52);
  EXPECT_EQ(dialog->m_commandList->item(51)->text(), QStringLiteral("ホームページ"));
  EXPECT_EQ(dialog->m_commandList->currentRow(), 0);
  EXPECT_EQ(dialog->m_commandList->currentItem()->text(), QStringLiteral("新しい窓を開く"));
  const std::pair<const char*, const char*> buttons[] = {
      {"add", "追加→○"}, {"delete", "×←削除"}, {"moveUp", "↑上移動"}, {"moveDown", "↓下移動"},
      {"exchangePrevious", "≪前ページと交換"}, {"exchangeNext", "次ページと交換≫"}, {"reset", "※"},
      {"ok", "オッケー！！"}, {"cancel", "キャンセル"}};
  for (const auto& [name, text] : buttons) EXPECT_EQ(Button(*dialog, name)->text(), QString::fromUtf8(text));
  EXPECT_TRUE(qobject_cast<QPushButton*>(Button(*dialog, "ok"))->isDefault());
  auto* explanation = dialog->findChild<QLabel*>(QStringLiteral("explanation"));
  ASSERT_NE(explanation, nullptr);
  EXPECT_TRUE(explanation->text().startsWith(QStringLiteral("　「サイクルポップアップ」は連続して右クリックする\n")));
}

TEST_F(CyclePopupDlgTest, AddInsertsAboveTheSelectedRowAndSelectsTheNewRow) {
  Open({"0123", "", "", ""});
  dialog->m_pageList->setCurrentRow(2);
  dialog->m_commandList->setCurrentRow(12);  // コピー
  Click("add");
  EXPECT_EQ(dialog->m_pages[0], "01<23");
  EXPECT_EQ(Row(), 2);
  EXPECT_EQ(Rows()[2], QStringLiteral("コピー"));
  EXPECT_EQ(Rows()[3], QStringLiteral("開く..."));
  EXPECT_EQ(dialog->m_commandList->currentRow(), 12) << "the command list keeps its choice";
}

TEST_F(CyclePopupDlgTest, AddingToAnEmptyPageMakesTheOnlySelectedRowAndSeparatorsMayBeAdded) {
  Open({"", "", "", ""});
  EXPECT_EQ(Row(), -1);
  Click("delete");  // nothing to delete
  dialog->m_commandList->setCurrentRow(10);  // a separator
  Click("add");
  EXPECT_EQ(dialog->m_pages[0], ":");
  EXPECT_EQ(Rows(), QStringList{"----------------"});
  EXPECT_EQ(Row(), 0);
}

TEST_F(CyclePopupDlgTest, DoubleClickingACommandAddsItButDoubleClickingAPageRowDoesNothing) {
  Open({"0", "", "", ""});
  QListWidget* commands = dialog->m_commandList;
  commands->setCurrentRow(9);
  emit commands->itemDoubleClicked(commands->item(9));
  EXPECT_EQ(dialog->m_pages[0], "90");
  emit dialog->m_pageList->itemDoubleClicked(dialog->m_pageList->item(0));
  EXPECT_EQ(dialog->m_pages[0], "90");
}

TEST_F(CyclePopupDlgTest, DeletingTheLastRowSelectsTheNewLastAndDeletingTheOnlyRowSelectsNothing) {
  Open({"012", "3", "", ""});
  dialog->m_pageList->setCurrentRow(2);
  Click("delete");
  EXPECT_EQ(dialog->m_pages[0], "01");
  EXPECT_EQ(Row(), 1);
  dialog->m_pageList->setCurrentRow(0);
  Click("delete");
  EXPECT_EQ(dialog->m_pages[0], "1");
  EXPECT_EQ(Row(), 0) << "the row below moves up into the selection";
  dialog->m_tab->setCurrentIndex(1);
  Click("delete");
  EXPECT_EQ(dialog->m_pages[1], "");
  EXPECT_EQ(Row(), -1);
}

TEST_F(CyclePopupDlgTest, MovesCarryTheSelectionAndStopAtTheEnds) {
  Open({"012", "", "", ""});
  Click("moveUp");  // row 0
  EXPECT_EQ(dialog->m_pages[0], "012");
  EXPECT_EQ(Row(), 0);
  Click("moveDown");
  EXPECT_EQ(dialog->m_pages[0], "102");
  EXPECT_EQ(Row(), 1);
  Click("moveDown");
  EXPECT_EQ(dialog->m_pages[0], "120");
  Click("moveDown");  // the last row
  EXPECT_EQ(dialog->m_pages[0], "120");
  EXPECT_EQ(Row(), 2);
  Click("moveUp");
  EXPECT_EQ(dialog->m_pages[0], "102");
  EXPECT_EQ(Row(), 1);
}

TEST_F(CyclePopupDlgTest, ExchangingWithThePreviousPageTakesThePageAndItsSelectionOneTabLeft) {
  PageStrings pages = CyclePages::Defaults();
  Open(pages);
  dialog->m_tab->setCurrentIndex(1);  // the user picks "Page2"
  EXPECT_EQ(Rows().size(), 12);
  EXPECT_EQ(Row(), 0);
  dialog->m_pageList->setCurrentRow(4);
  Click("exchangePrevious");
  EXPECT_EQ(dialog->m_tab->currentIndex(), 0);
  EXPECT_EQ(dialog->m_pages[0], pages[1]);
  EXPECT_EQ(dialog->m_pages[1], pages[0]);
  EXPECT_EQ(Rows().size(), 12);
  EXPECT_EQ(Row(), 4) << "no tab-change notification resets the row";
  Click("exchangePrevious");  // on "Page1": nothing
  EXPECT_EQ(dialog->m_pages[0], pages[1]);
  dialog->m_tab->setCurrentIndex(3);
  dialog->m_pageList->setCurrentRow(2);
  Click("exchangeNext");  // on "Page4": nothing
  EXPECT_EQ(dialog->m_pages[3], pages[3]);
  EXPECT_EQ(Row(), 2);
  dialog->m_tab->setCurrentIndex(2);
  Click("exchangeNext");
  EXPECT_EQ(dialog->m_tab->currentIndex(), 3);
  EXPECT_EQ(dialog->m_pages[3], pages[2]);
  EXPECT_EQ(dialog->m_pages[2], pages[3]);
}

TEST_F(CyclePopupDlgTest, ResetAsksAndOnlyYesBringsBackTheDefaultPages) {
  Open({"0", "1", "2", "3"});
  dialog->m_tab->setCurrentIndex(2);
  user.answers = {MessageAnswer::No, MessageAnswer::Yes};
  Click("reset");
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("サイクルメニューの項目を初期値\n（インストール時の設定）に戻します。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("初期値に戻す"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Question);
  EXPECT_EQ(user.asked[0].buttons, platform::MessageButtons::YesNo);
  EXPECT_EQ(dialog->m_pages, (PageStrings{"0", "1", "2", "3"}));
  EXPECT_EQ(dialog->m_tab->currentIndex(), 2);
  Click("reset");
  EXPECT_EQ(dialog->m_pages, CyclePages::Defaults());
  EXPECT_EQ(dialog->m_tab->currentIndex(), 0);
  EXPECT_EQ(Rows().size(), 11);
  EXPECT_EQ(Row(), 0);
}

TEST_F(CyclePopupDlgTest, LongPagesAndBytesThatNameNoCommandAreShownInFull) {
  std::string thirty;
  for (int i = 0; i < 30; ++i) thirty += EncodeCommandIndex(i);
  Open({thirty, std::string("d\x80\x82\xA0", 4), "", ""});
  EXPECT_EQ(Rows().size(), 30);
  dialog->m_tab->setCurrentIndex(1);
  EXPECT_EQ(Rows(), QStringList(4, QStringLiteral("ホームページ"))) << "one row a byte, even of a kanji";
  Click("moveDown");
  EXPECT_EQ(dialog->m_pages[1], std::string("\x80" "d\x82\xA0", 4)) << "the bytes themselves stay";
}

}  // namespace
