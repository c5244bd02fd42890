#include "CKanjiCodeDlg.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogKeyboard.h"
#include "ModalSeam.h"
#include "ProfileFile.h"

namespace {

int ChoiceOrAuto(int choice) {
  return choice >= 0 && choice <= CKanjiCodeDlg::kLastChoice ? choice : CKanjiCodeDlg::kAutoChoice;
}

const char* const kChoiceNames[] = {"無変換", "Shift-JIS", "JIS", "EUC", "自動判別", "UTF-8"};

}  // namespace

CKanjiCodeDlg::CKanjiCodeDlg(int loadChoice, int saveChoice, QWidget* parent)
    : QDialog(parent), m_loadChoice(ChoiceOrAuto(loadChoice)), m_saveChoice(ChoiceOrAuto(saveChoice)) {
  setObjectName(QStringLiteral("CKanjiCodeDlg"));
  setWindowTitle(QStringLiteral("漢字コード設定"));
  setFont(QFont(QStringLiteral("ＭＳ ゴシック")));

  auto* grid = new QGridLayout(this);
  m_loadGroup = AddGroup(grid, 0, QStringLiteral("読み込み文書"), kFirstLoadButton);
  m_saveGroup = AddGroup(grid, 1, QStringLiteral("保存時の形式"), kFirstSaveButton);

  auto* ok = new QPushButton(QStringLiteral("オッケー！！"));
  ok->setObjectName(QStringLiteral("ok"));
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
  cancel->setObjectName(QStringLiteral("cancel"));
  platform::MarkDefaultAndCancel(ok, cancel);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 2);

  auto* explanation = new QLabel(QStringLiteral(
      "　読み込み時、及び保存時の漢字コード\n形式を設定して下さい。この設定は次回\n読み込み時、または保存時から有効と\nなります。"));
  explanation->setObjectName(QStringLiteral("explanation"));
  explanation->setTextFormat(Qt::PlainText);
  grid->addWidget(explanation, 1, 0, 1, 3);

  m_loadGroup->button(kFirstLoadButton + m_loadChoice)->setChecked(true);
  m_saveGroup->button(kFirstSaveButton + m_saveChoice)->setChecked(true);
  // Tab goes from the checked load choice to the checked save choice, then
  // to the buttons; the arrow keys choose within a group.
  platform::MakeCheckedRadioTheTabStop(m_loadGroup->buttons());
  platform::MakeCheckedRadioTheTabStop(m_saveGroup->buttons());
  QList<QWidget*> order;
  for (QAbstractButton* radio : m_loadGroup->buttons() + m_saveGroup->buttons()) order << radio;
  platform::SetTabOrder(order << ok << cancel);
  m_loadGroup->checkedButton()->setFocus();
}

QButtonGroup* CKanjiCodeDlg::AddGroup(QGridLayout* layout, int column, const QString& title, int firstId) {
  auto* box = new QGroupBox(title);
  auto* rows = new QVBoxLayout(box);
  auto* group = new QButtonGroup(this);
  for (int choice = 0; choice <= kLastChoice; ++choice) {
    auto* radio = new QRadioButton(QString::fromUtf8(kChoiceNames[choice]));
    group->addButton(radio, firstId + choice);
    rows->addWidget(radio);
  }
  layout->addWidget(box, 0, column);
  return group;
}

void CKanjiCodeDlg::done(int result) {
  m_loadChoice = m_loadGroup->checkedId() - kFirstLoadButton;
  m_saveChoice = m_saveGroup->checkedId() - kFirstSaveButton;
  QDialog::done(result);
}

std::optional<KanjiCode> CKanjiCodeDlg::Run(ProfileFile& profile, KanjiCode loadCode, QWidget* parent) {
  CKanjiCodeDlg dialog(profile.GetProfileInt("KanaCode", "Load", 1), profile.GetProfileInt("KanaCode", "Save", 1),
                       parent);
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return std::nullopt;
  profile.WriteProfileInt("KanaCode", "Load", dialog.m_loadChoice);
  profile.WriteProfileInt("KanaCode", "Save", dialog.m_saveChoice);
  // The load choice applies from the next document read.
  return dialog.m_saveChoice == kAutoChoice ? loadCode : KanjiCodeFromInt(dialog.m_saveChoice);
}
