#include "CGotoLineDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

namespace {

// The box does not scroll sideways: text that would not fit in its width is
// refused, as it would be at the box's right edge.
class FitsWidth : public QValidator {
 public:
  explicit FitsWidth(QLineEdit* edit) : QValidator(edit), m_edit(edit) {}
  State validate(QString& input, int&) const override {
    return m_edit->fontMetrics().horizontalAdvance(input) <= Room() ? Acceptable : Invalid;
  }

 private:
  int Room() const {
    QStyleOptionFrame option;
    option.initFrom(m_edit);
    option.rect = QRect(QPoint(0, 0), m_edit->size());
    option.lineWidth = m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_edit);
    QRect contents = m_edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, m_edit);
    QMargins margins = m_edit->textMargins();
    return contents.width() - margins.left() - margins.right() - 4;  // the box's own inner margins
  }
  QLineEdit* m_edit;
};

}  // namespace

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
  m_edit->setValidator(new FitsWidth(m_edit));
  connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_lineText = text; });
  m_ok->setDefault(true);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(m_edit);
  layout->addWidget(new QLabel(QStringLiteral("←行数（半角数字）")));
  layout->addSpacing(8);
  layout->addWidget(m_ok);
  layout->addWidget(m_cancel);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
