#include "CLineEndDlg.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogKeyboard.h"

namespace {
constexpr const char* kExplanation =
    "　現在開かれている文書内にある\n改行コード[CR]・[LF]・[CR+LF]を、\n以下のコードに一括置換します。";
}

CLineEndDlg::CLineEndDlg(QWidget* parent)
    : QDialog(parent), m_ok(new QPushButton(QStringLiteral("実行"))), m_cancel(new QPushButton(QStringLiteral("キャンセル"))) {
  setObjectName(QStringLiteral("CLineEndDlg"));
  setWindowTitle(QStringLiteral("改行コード一括置換"));
  m_radios = {new QRadioButton(QStringLiteral("CR (Macintosh)")), new QRadioButton(QStringLiteral("LF (UNIX)")),
              new QRadioButton(QStringLiteral("CR+LF (Windows)"))};
  auto* group = new QButtonGroup(this);
  auto* choices = new QVBoxLayout;
  for (int i = 0; i < static_cast<int>(m_radios.size()); ++i) {
    group->addButton(m_radios[i], i);
    choices->addWidget(m_radios[i]);
  }
  m_radios[CrLf]->setChecked(true);
  platform::MarkDefaultAndCancel(m_ok, m_cancel);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(m_ok);
  buttons->addWidget(m_cancel);
  buttons->addStretch(1);
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QString::fromUtf8(kExplanation)));
  left->addLayout(choices);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // The keyboard starts on the choice, then goes to the buttons beside it.
  platform::MakeCheckedRadioTheTabStop({m_radios.begin(), m_radios.end()});
  platform::SetTabOrder({m_radios[Cr], m_radios[Lf], m_radios[CrLf], m_ok, m_cancel});
}

void CLineEndDlg::done(int result) {
  for (int i = 0; i < static_cast<int>(m_radios.size()); ++i)
    if (m_radios[i]->isChecked()) m_endingChoice = i;
  QDialog::done(result);
}
