#include "CCustomButtonDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "CCustomButton.h"
#include "CommandTable.h"
#include "CustomButtonPicture.h"
#include "DialogKeyboard.h"
#include "DialogUnits.h"
#include "ModalSeam.h"
#include "UiText.h"

namespace {

constexpr const char* kExplanation =
    "↑カスタムボタンに任意の\nコマンドを登録できます。\n頻繁に使う機能を登録して\nおくと便利です。";

}  // namespace

CCustomButtonDlg::CCustomButtonDlg(int index, QWidget* parent) : QDialog(parent), m_index(index) {
  setObjectName(QStringLiteral("CCustomButtonDlg"));
  setWindowTitle(T("カスタムボタンの設定"));
  setFont(DialogUnits::DialogFont());
  BuildControls();
  if (m_index < 0 || m_index > kLastCommandIndex) m_index = CCustomButton::kFallbackIndex;
  for (const CommandEntry& entry : CommandTable) {
    if (*entry.name == '\0') break;  // the terminator
    m_list->addItem(T(entry.name));
  }
  m_list->setCurrentRow(m_index);
  m_list->setFocus();
}

// Controls in template order, which is also the order the keyboard takes.
void CCustomButtonDlg::BuildControls() {
  DialogUnits units(font());
  setFixedSize(units.ToPixels(114, 201));
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("list"));
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  units.Place(m_list, 7, 69, 100, 100);
  connect(m_list, &QListWidget::itemDoubleClicked, this, &CCustomButtonDlg::accept);
  m_list->setAccessibleName(T("カスタムボタンに登録するコマンド"));
  auto* ok = new QPushButton(T("オッケー！！"), this);
  ok->setObjectName(QStringLiteral("ok"));
  units.Place(ok, 7, 178, 48, 16);
  connect(ok, &QPushButton::clicked, this, &CCustomButtonDlg::accept);
  auto* cancel = new QPushButton(T("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setAutoDefault(false);
  units.Place(cancel, 59, 178, 48, 16);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  platform::MarkDefaultAndCancel(ok, cancel);
  platform::SetTabOrder({m_list, ok, cancel});
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("picture"));
  picture->setAccessibleName(T("カスタムボタンの絵"));
  picture->setPixmap(CustomButtonPicture::Picture());
  picture->setGeometry(QRect(units.ToPixels(7, 7, 13, 15).topLeft(), picture->pixmap().size()));
  auto* explanation = new QLabel(T(kExplanation), this);
  explanation->setObjectName(QStringLiteral("explanation"));
  explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  units.Place(explanation, 7, 26, 100, 40);
}

// The refusal belongs to the main window, not to this dialog.
void CCustomButtonDlg::accept() {
  int row = m_list->currentRow();
  if (row < 0 || row > kLastCommandIndex) return;
  if (IsSeparator(CommandTable[static_cast<std::size_t>(row)])) {
    platform::ShowMessage(parentWidget(), {T("このコマンドは登録できません。"), T("エラー"),
                                           platform::MessageIcon::Exclamation, platform::MessageButtons::Ok});
    return;
  }
  m_index = row;
  QDialog::accept();
}
