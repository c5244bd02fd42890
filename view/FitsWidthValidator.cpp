#include "FitsWidthValidator.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

FitsWidthValidator::FitsWidthValidator(QLineEdit* edit) : QValidator(edit), m_edit(edit) {}

QValidator::State FitsWidthValidator::validate(QString& input, int&) const {
  return m_edit->fontMetrics().horizontalAdvance(input) <= Room() ? Acceptable : Invalid;
}

int FitsWidthValidator::Room() const {
  QStyleOptionFrame option;
  option.initFrom(m_edit);
  option.rect = QRect(QPoint(0, 0), m_edit->size());
  option.lineWidth = m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_edit);
  QRect contents = m_edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, m_edit);
  QMargins margins = m_edit->textMargins();
  return contents.width() - margins.left() - margins.right() - 4;  // the box's own inner margins
}
