#include "DialogKeyboard.h"

#include <QAbstractButton>
#include <QPushButton>

namespace platform {
namespace {

void UpdateTabStops(const QList<QAbstractButton*>& group) {
  for (QAbstractButton* button : group) button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

}  // namespace

void MakeCheckedRadioTheTabStop(const QList<QAbstractButton*>& group) {
  UpdateTabStops(group);
  for (QAbstractButton* button : group)
    QObject::connect(button, &QAbstractButton::toggled, button, [group] { UpdateTabStops(group); });
}

void SetTabOrder(const QList<QWidget*>& widgets) {
  for (qsizetype i = 1; i < widgets.size(); ++i) QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

void MarkDefaultAndCancel(QPushButton* defaultButton, QPushButton* cancelButton) {
  if (defaultButton) {
    defaultButton->setDefault(true);
    defaultButton->setAccessibleDescription(QStringLiteral("既定のボタン（Enter）"));
  }
  if (cancelButton) cancelButton->setAccessibleDescription(QStringLiteral("取り消しのボタン（Esc）"));
}

}  // namespace platform
