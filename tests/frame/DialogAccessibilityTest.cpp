// Every dialog of the program as a screen reader user meets it: Tab goes
// round the controls in the order they stand (the cycle popup's keeps its
// template order), each is read by a name that says what it is, Enter has
// a default button and Escape a cancel button, both told to the reader.
// The names are what Qt's accessibility gives the desktop's readers; the
// path through AT-SPI is tests/e2e/test_accessibility.py.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

#include "CCustomButtonDlg.h"
#include "CCyclePopupDlg.h"
#include "CExtAssocDlg.h"
#include "CExtUnassocDlg.h"
#include "CFindReplaceDlg.h"
#include "CGotoLineDlg.h"
#include "CKanjiCodeDlg.h"
#include "CLineEndDlg.h"
#include "CMiniLauncherDlg.h"
#include "CPhraseDlg.h"
#include "FontColourDialog.h"
#include "VersionDialog.h"

namespace {

struct DialogCase {
  const char* name;
  std::function<std::unique_ptr<QDialog>()> make;
  QStringList tabCycle;  // the names Tab reaches, from the first control
  bool hasCancel = true;
};

void PrintTo(const DialogCase& c, std::ostream* out) { *out << c.name; }

// What a reader says a control is: its name; for a combo box, whose name is
// its value on this desktop, the label it is labelled by.
QString NameOf(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  if (!accessible) return {};
  if (qobject_cast<QComboBox*>(widget))
    for (const auto& [label, relation] : accessible->relations(QAccessible::Label)) return label->text(QAccessible::Name);
  QString name = accessible->text(QAccessible::Name);
  // A tab bar is read by its current tab.
  if (name.isEmpty() && accessible->focusChild()) name = accessible->focusChild()->text(QAccessible::Name);
  return name;
}

// The names Tab reaches from the focus, once round.
QStringList TabCycle(QDialog& dialog) {
  QStringList names;
  QWidget* first = QApplication::focusWidget();
  if (!first) return names;
  QWidget* focus = first;
  do {
    names << NameOf(focus);
    QTest::keyClick(focus, Qt::Key_Tab);
    focus = QApplication::focusWidget();
  } while (focus && focus != first && names.size() < 40 && dialog.isAncestorOf(focus));
  return names;
}

// The cycle turned to start where `expected` starts.
QStringList FromFirst(QStringList cycle, const QString& first) {
  qsizetype at = cycle.indexOf(first);
  if (at <= 0) return cycle;
  return cycle.mid(at) + cycle.mid(0, at);
}

class DialogAccessibility : public testing::TestWithParam<DialogCase> {};

TEST_P(DialogAccessibility, TabFollowsTheLayoutOverNamedControlsWithDefaultAndCancelTold) {
  std::unique_ptr<QDialog> dialog = GetParam().make();
  dialog->show();
  QApplication::setActiveWindow(dialog.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  QStringList cycle = TabCycle(*dialog);
  EXPECT_EQ(FromFirst(cycle, GetParam().tabCycle.value(0)), GetParam().tabCycle);

  int defaults = 0, cancels = 0;
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (!button->isVisible()) continue;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    defaults += accessible->state().defaultButton;
    cancels += accessible->text(QAccessible::Description).contains(QStringLiteral("Esc"));
  }
  EXPECT_EQ(defaults, 1);
  EXPECT_EQ(cancels, GetParam().hasCancel ? 1 : 0);
}

std::unique_ptr<QDialog> FindForm(bool replace) {
  auto dialog = std::make_unique<CFindReplaceDlg>();
  dialog->SetReplaceForm(replace);
  return dialog;
}

const QString kPhrase[] = {QStringLiteral("単語登録１　(Ctrl+1)"), QStringLiteral("単語登録２　(Ctrl+2)"),
                           QStringLiteral("単語登録３　(Ctrl+3)"), QStringLiteral("単語登録４　(Ctrl+4)"),
                           QStringLiteral("単語登録５　(Ctrl+5)")};

INSTANTIATE_TEST_SUITE_P(
    EveryDialog, DialogAccessibility,
    testing::Values(
        DialogCase{"GoToLine", [] { return std::make_unique<CGotoLineDlg>(); },
                   {"行数（半角数字）", "OK", "キャンセル"}},
        DialogCase{"KanjiCodes", [] { return std::make_unique<CKanjiCodeDlg>(1, 4); },
                   {"Shift-JIS", "自動判別", "オッケー！！", "ｷｬﾝｾﾙ"}},
        DialogCase{"LineEnds", [] { return std::make_unique<CLineEndDlg>(); },
                   {"CR+LF (Windows)", "実行", "キャンセル"}},
        DialogCase{"Phrases",
                   [] { return std::make_unique<CPhraseDlg>(std::array<QString, CPhraseDlg::kCount>{}, 2); },
                   {kPhrase[0], kPhrase[1], kPhrase[2], kPhrase[2], kPhrase[3], kPhrase[4], "オッケー！！",
                    "キャンセル"}},
        DialogCase{"Find", [] { return FindForm(false); },
                   {"検索する文字列(N):", "大文字と小文字を区別する(C)", "単語単位で探す(W)", "正規表現(E)",
                    "下へ(D)", "キャンセル"}},
        DialogCase{"Replace", [] { return FindForm(true); },
                   {"検索する文字列(N):", "置換後の文字列(P):", "大文字と小文字を区別する(C)", "単語単位で探す(W)",
                    "正規表現(E)", "下へ(D)", "キャンセル"}},
        DialogCase{"CyclePopupInTemplateOrder", [] { return std::make_unique<CCyclePopupDlg>(CyclePages::Defaults()); },
                   {"メニューコマンド一覧", "ページの項目", "追加", "削除", "上へ移動", "下へ移動", "前ページと交換",
                    "次ページと交換", "初期設定に戻す", "Page1", "オッケー！！", "キャンセル"}},
        DialogCase{"CustomButton", [] { return std::make_unique<CCustomButtonDlg>(0); },
                   {"カスタムボタンに登録するコマンド", "オッケー！！", "キャンセル"}},
        DialogCase{"ExtensionAssociation", [] { return std::make_unique<CExtAssocDlg>(); },
                   {"拡張子（半角英数字）", "オッケー！！", "キャンセル"}},
        DialogCase{"ExtensionRemoval", [] { return std::make_unique<CExtUnassocDlg>(); },
                   {"拡張子（半角英数字）", "オッケー！！", "キャンセル"}},
        DialogCase{"MiniLauncher", [] { return std::make_unique<CMiniLauncherDlg>(1, QString()); },
                   {"下に登録したソフトで開く", "実行ファイルのパス", "参照...", "オッケー！！", "キャンセル"}},
        DialogCase{"Version", [] { return std::make_unique<VersionDialog>(); }, {"オッケー！！"}, false},
        DialogCase{"FontAndColour", [] { return std::make_unique<platform::FontColourDialog>(platform::FontChoice{}); },
                   {"フォント名(F):", "スタイル(Y):", "サイズ(S):", "取り消し線(K)", "下線(U)", "文字の色(C)...", "OK",
                    "キャンセル"}}),
    [](const testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

}  // namespace
