#pragma once

// The mouse buttons held down at this moment, as the window system has them.
// Qt's own record follows the events it delivered: a release the window
// system handed to a popup that has just closed may never be delivered, and
// then Qt still has the button down.

#include <Qt>

namespace platform {

Qt::MouseButtons PressedMouseButtons();

}  // namespace platform
