#pragma once

// Where the window system's keyboard focus is now, asked of the window
// system itself rather than of the events the program has handled so far.
//
// An input method learns of a focus change through its own channel and may
// act on it (clearing the preedit) before the program has handled the
// window's own focus-out event: only the window system can tell then that
// the keyboard has already left.

#include <optional>

class QWidget;

class ServerKeyboardFocus {
 public:
  // True when the keyboard focus is in `widget`'s top-level window (or a
  // window inside it); nothing when the window system cannot be asked
  // (a platform other than X11).
  static std::optional<bool> IsIn(const QWidget& widget);
};
