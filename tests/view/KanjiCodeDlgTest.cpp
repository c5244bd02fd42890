// The kanji code settings: what the dialog shows from the settings, what OK
// writes, and the save code of the shown document.

#include "CKanjiCodeDlg.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"

namespace {

class KanjiCodeSettings : public testing::Test {
 protected:
  // Opens the dialog, records what it showed, picks `load` and `save`
  // (when given) and clicks `button`.
  void Answer(std::optional<int> load, std::optional<int> save, const char* button) {
    AnswerDialogs<CKanjiCodeDlg>([=, this](CKanjiCodeDlg& dialog) {
      shownLoad = dialog.LoadGroup()->checkedId();
      shownSave = dialog.SaveGroup()->checkedId();
      if (load) dialog.LoadGroup()->button(CKanjiCodeDlg::kFirstLoadButton + *load)->click();
      if (save) dialog.SaveGroup()->button(CKanjiCodeDlg::kFirstSaveButton + *save)->click();
      Button(dialog, button)->click();
    });
  }
  void Show(KanjiCode load, KanjiCode save) { view.ShowDocument("text", {load, save}); }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
  int shownLoad = 0, shownSave = 0;
};

TEST_F(KanjiCodeSettings, DialogHasItsCaptionGroupsButtonsAndExplanation) {
  CKanjiCodeDlg dialog(1, 1);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("漢字コード設定"));
  QStringList groups;
  for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) groups << box->title();
  EXPECT_EQ(groups, (QStringList{QStringLiteral("読み込み文書"), QStringLiteral("保存時の形式")}));
  const QStringList names = {QStringLiteral("無変換"), QStringLiteral("Shift-JIS"), QStringLiteral("JIS"),
                             QStringLiteral("EUC"), QStringLiteral("自動判別")};
  for (int choice = 0; choice < 5; ++choice) {
    EXPECT_EQ(dialog.LoadGroup()->button(1035 + choice)->text(), names[choice]);
    EXPECT_EQ(dialog.SaveGroup()->button(1040 + choice)->text(), names[choice]);
  }
  EXPECT_EQ(Button(dialog, "ok")->text(), QStringLiteral("オッケー！！"));
  EXPECT_EQ(Button(dialog, "cancel")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("explanation"))->text(),
            QStringLiteral("　読み込み時、及び保存時の漢字コード\n形式を設定して下さい。この設定は次回\n"
                           "読み込み時、または保存時から有効と\nなります。"));
}

TEST_F(KanjiCodeSettings, WithoutSettingsBothGroupsShowShiftJisAndCancelChangesNothing) {
  Show(KanjiCode::ShiftJis, KanjiCode::ShiftJis);
  Answer(3, 3, "cancel");
  view.OnCommand(ids::kKanjiCodeSettings);
  EXPECT_EQ(shownLoad, 1036);
  EXPECT_EQ(shownSave, 1041);
  EXPECT_FALSE(std::filesystem::exists(settings.path));
  EXPECT_EQ(view.SaveCode(), KanjiCode::ShiftJis);
}

TEST_F(KanjiCodeSettings, OutOfRangeStoredChoicesShowAsAutomatic) {
  for (const char* stored : {"[KanaCode]\nLoad=9\nSave=-1\n", "[KanaCode]\nLoad=6\nSave=x\n"}) {
    WriteFileBytes(settings.path, stored);
    Answer(std::nullopt, std::nullopt, "cancel");
    view.OnCommand(ids::kKanjiCodeSettings);
    EXPECT_EQ(shownLoad, 1039) << stored;
    // "x" reads as 0: no conversion, a valid choice.
    EXPECT_EQ(shownSave, std::string(stored).find("x") != std::string::npos ? 1040 : 1044) << stored;
  }
}

TEST_F(KanjiCodeSettings, OkWritesLoadThenSaveAndAutomaticSaveKeepsTheLoadedCode) {
  Show(KanjiCode::Euc, KanjiCode::ShiftJis);
  EXPECT_EQ(view.PaneText(ids::kPaneCodes), QStringLiteral("EUC→SJS"));
  Answer(2, 4, "ok");
  view.OnCommand(ids::kKanjiCodeSettings);
  EXPECT_EQ(ReadFileBytes(settings.path), "[KanaCode]\r\nLoad=2\r\nSave=4\r\n");
  EXPECT_EQ(view.LoadCode(), KanjiCode::Euc) << "the load choice waits for the next document";
  EXPECT_EQ(view.PaneText(ids::kPaneCodes), QStringLiteral("EUC→EUC"));
}

TEST_F(KanjiCodeSettings, AChosenSaveCodeAppliesToTheShownDocumentAtOnce) {
  Show(KanjiCode::Euc, KanjiCode::Euc);
  Answer(std::nullopt, 2, "ok");
  view.OnCommand(ids::kKanjiCodeSettings);
  EXPECT_EQ(view.SaveCode(), KanjiCode::Jis);
  EXPECT_EQ(view.PaneText(ids::kPaneCodes), QStringLiteral("EUC→JIS"));
  EXPECT_EQ(settings.profile.GetProfileInt("KanaCode", "Load", -1), 1);
}

TEST_F(KanjiCodeSettings, ChoicesAreReadBackWhenTheDialogClosesEvenByCancel) {
  CKanjiCodeDlg dialog(0, 7);
  EXPECT_EQ(dialog.m_saveChoice, 4);
  dialog.LoadGroup()->button(1037)->click();
  dialog.reject();
  EXPECT_EQ(dialog.m_loadChoice, 2);
  EXPECT_EQ(dialog.m_saveChoice, 4);
}

}  // namespace
