#include "CExtensionEntryDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DialogKeyboard.h"
#include "DialogUnits.h"
#include "FitsWidthValidator.h"
#include "UiText.h"

namespace {

void Place(const DialogUnits& units, QWidget* widget, const QRect& rect) {
  units.Place(widget, rect.x(), rect.y(), rect.width(), rect.height());
}

}  // namespace

// Controls in template order, which is also the order the keyboard takes.
CExtensionEntryDlg::CExtensionEntryDlg(const Template& layout, QWidget* parent) : QDialog(parent) {
  setWindowTitle(T(layout.caption));
  setFont(DialogUnits::DialogFont());
  DialogUnits units(font());
  setFixedSize(units.ToPixels(layout.size.width(), layout.size.height()));

  m_edit = new QLineEdit(this);
  m_edit->setObjectName(QStringLiteral("extension"));
  Place(units, m_edit, layout.editRect);
  m_edit->setValidator(new FitsWidthValidator(m_edit));
  auto* ok = new QPushButton(T("オッケー！！"), this);
  ok->setObjectName(QStringLiteral("ok"));
  Place(units, ok, layout.okRect);
  connect(ok, &QPushButton::clicked, this, &CExtensionEntryDlg::accept);
  auto* cancel = new QPushButton(T("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setAutoDefault(false);
  Place(units, cancel, layout.cancelRect);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* explanation = new QLabel(T(layout.explanation), this);
  explanation->setObjectName(QStringLiteral("explanation"));
  explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Place(units, explanation, layout.explanationRect);
  auto* hint = new QLabel(T("←半角英数字"), this);
  hint->setObjectName(QStringLiteral("hint"));
  hint->setBuddy(m_edit);
  Place(units, hint, layout.hintRect);
  // Read without the arrow, which points at the box on screen.
  m_edit->setAccessibleName(T("拡張子（半角英数字）"));
  platform::MarkDefaultAndCancel(ok, cancel);
  platform::SetTabOrder({m_edit, ok, cancel});
  m_edit->setFocus();
}

void CExtensionEntryDlg::showEvent(QShowEvent* event) {
  m_edit->setText(m_extension);
  QDialog::showEvent(event);
}

void CExtensionEntryDlg::accept() {
  m_extension = m_edit->text();
  QDialog::accept();
}
