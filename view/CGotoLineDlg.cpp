#include "CGotoLineDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include "DialogKeyboard.h"
#include "FitsWidthValidator.h"

CGotoLineDlg::CGotoLineDlg(QWidget* parent)
    : QDialog(parent),
      m_edit(new QLineEdit),
      m_ok(new QPushButton(QStringLiteral("OK"))),
      m_cancel(new QPushButton(QStringLiteral("×"))) {
  setObjectName(QStringLiteral("CGotoLineDlg"));
  setWindowTitle(QStringLiteral("行指定ジャンプ"));
  m_edit->setObjectName(QStringLiteral("lineNumber"));
  int digits = m_edit->fontMetrics().horizontalAdvance(QString(kVisibleDigits, u'0'));
  QStyleOptionFrame option;
  option.initFrom(m_edit);
  option.lineWidth = m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_edit);
  m_edit->setFixedWidth(digits + 4 + 2 * option.lineWidth + 4);
  m_edit->setValidator(new FitsWidthValidator(m_edit));
  connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_lineText = text; });
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* label = new QLabel(QStringLiteral("←行数（半角数字）"));
  label->setBuddy(m_edit);
  // Read without the arrow, which points at the box on screen.
  m_edit->setAccessibleName(QStringLiteral("行数（半角数字）"));
  m_cancel->setAccessibleName(QStringLiteral("キャンセル"));
  platform::MarkDefaultAndCancel(m_ok, m_cancel);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(m_edit);
  layout->addWidget(label);
  layout->addSpacing(8);
  layout->addWidget(m_ok);
  layout->addWidget(m_cancel);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  platform::SetTabOrder({m_edit, m_ok, m_cancel});
}
