#include "CMiniLauncherDlg.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "DialogKeyboard.h"
#include "TypedLengthLimit.h"
#include "DialogUnits.h"
#include "ExecutableFileDialog.h"
#include "ModalSeam.h"
#include "UiText.h"

namespace {

constexpr const char* kExplanation =
    "　ミニランチャーは、現在編集中の文書を\n別の実行ファイルで開く機能です。動作と\nファイルパスを設定して下さい。";

struct ModeButton {
  const char* name;
  const char* text;
  int y;
};
const ModeButton kModeButtons[] = {
    {"associatedApp", "拡張子に関連付けられたソフトで開く", 43},
    {"registeredApp", "下に登録したソフトで開く", 59},
    {"runOnly", "下に登録したソフトを実行するだけ", 74},
};

}  // namespace

CMiniLauncherDlg::CMiniLauncherDlg(int mode, const QString& path, QWidget* parent)
    : QDialog(parent), m_mode(mode < 0 || mode > 2 ? 1 : mode), m_path(path) {
  setObjectName(QStringLiteral("CMiniLauncherDlg"));
  setWindowTitle(T("ミニランチャーの機能設定"));
  setFont(DialogUnits::DialogFont());
  BuildControls();
  m_modeButtons[m_mode]->setChecked(true);
  m_modeButtons[m_mode]->setFocus();
  m_pathBox->setText(m_path);
}

// Controls in template order.
void CMiniLauncherDlg::BuildControls() {
  DialogUnits units(font());
  setFixedSize(units.ToPixels(151, 159));
  auto* ok = new QPushButton(T("オッケー！！"), this);
  ok->setObjectName(QStringLiteral("ok"));
  units.Place(ok, 7, 136, 64, 16);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(T("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setAutoDefault(false);
  units.Place(cancel, 80, 136, 64, 16);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* group = new QButtonGroup(this);
  for (int mode = 0; mode < 3; ++mode) {
    m_modeButtons[mode] = new QRadioButton(T(kModeButtons[mode].text), this);
    m_modeButtons[mode]->setObjectName(QLatin1String(kModeButtons[mode].name));
    units.Place(m_modeButtons[mode], 7, kModeButtons[mode].y, 137, 8);
    group->addButton(m_modeButtons[mode], mode);
  }
  m_pathBox = new QLineEdit(this);
  m_pathBox->setObjectName(QStringLiteral("path"));
  // A longer stored path is kept as it is until the user edits it.
  new TypedLengthLimit(kMaxPathChars, m_pathBox);
  units.Place(m_pathBox, 7, 111, 101, 12);
  auto* browse = new QPushButton(T("参照..."), this);
  browse->setObjectName(QStringLiteral("browse"));
  browse->setAutoDefault(false);
  units.Place(browse, 112, 110, 32, 14);
  connect(browse, &QPushButton::clicked, this, &CMiniLauncherDlg::OnBrowse);
  auto* explanation = new QLabel(T(kExplanation), this);
  explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  units.Place(explanation, 7, 7, 137, 29);
  auto* pathLabel = new QLabel(T("実行ファイルのパスを登録して下さい。"), this);
  pathLabel->setBuddy(m_pathBox);
  units.Place(pathLabel, 7, 95, 137, 8);
  m_pathBox->setAccessibleName(T("実行ファイルのパス"));
  platform::MarkDefaultAndCancel(ok, cancel);
  // The keyboard follows the layout from the top: the checked mode, the
  // path and its browse button, then OK and Cancel.
  platform::MakeCheckedRadioTheTabStop(group->buttons());
  platform::SetTabOrder({m_modeButtons[0], m_modeButtons[1], m_modeButtons[2], m_pathBox, browse, ok, cancel});
}

// The box shows the path field afterwards, chosen or not: a path typed
// since the dialog opened (or since the last browse) gives way.
void CMiniLauncherDlg::OnBrowse() {
  ExecutableFileDialog chooser(this, T("実行ファイルを選択して下さい"));
  if (platform::ExecDialog(chooser) == QDialog::Accepted && !chooser.selectedFiles().isEmpty())
    m_path = chooser.selectedFiles().first();
  m_pathBox->setText(m_path);
}

void CMiniLauncherDlg::done(int result) {
  if (result == QDialog::Accepted) m_path = m_pathBox->text();
  for (int mode = 0; mode < 3; ++mode)
    if (m_modeButtons[mode]->isChecked()) m_mode = mode;
  QDialog::done(result);
}
