#include "DialogKeyboard.h"

#include <QAbstractButton>

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

}  // namespace platform
