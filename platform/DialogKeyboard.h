#pragma once

// How the keyboard moves through the program's dialogs, as in the
// desktop's own: Tab follows the layout, and reaches a group of radio
// buttons at its checked button, where the arrow keys choose; Enter presses
// the default button and Escape cancels.

#include <QList>

class QAbstractButton;
class QPushButton;
class QWidget;

namespace platform {

// Only the checked button of the group is a tab stop; the others take the
// focus by click or arrow key.
void MakeCheckedRadioTheTabStop(const QList<QAbstractButton*>& group);

// Tab goes through `widgets` in this order.
void SetTabOrder(const QList<QWidget*>& widgets);

// Enter presses `defaultButton`; Escape closes the dialog as `cancelButton`
// does (either may be none: the dialog has no such button). A screen
// reader is told which is which: the default button's state, and each
// button's description names its key.
void MarkDefaultAndCancel(QPushButton* defaultButton, QPushButton* cancelButton);

}  // namespace platform
