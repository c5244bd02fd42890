#pragma once

// How the keyboard moves through the program's dialogs, as in the
// desktop's own: Tab follows the layout, and reaches a group of radio
// buttons at its checked button, where the arrow keys choose.

#include <QList>

class QAbstractButton;
class QWidget;

namespace platform {

// Only the checked button of the group is a tab stop; the others take the
// focus by click or arrow key.
void MakeCheckedRadioTheTabStop(const QList<QAbstractButton*>& group);

// Tab goes through `widgets` in this order.
void SetTabOrder(const QList<QWidget*>& widgets);

}  // namespace platform
