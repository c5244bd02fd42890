#pragma once

// One saved window placement, apart from the one the main window keeps by
// itself, recalled on command: "Position"/"TilePosX", "TilePosY" and
// "Size"/"TileSizeX", "TileSizeY" (640 x 480 centred on the primary screen
// until one is registered). Nothing is held between commands.

#include <QMargins>
#include <QRect>
#include <QSize>

class ProfileFile;
class QWidget;

class QuickTile {
 public:
  // The stored tile, defaults computed for a screen of `screenSize`; its
  // size is at least the smallest visible window.
  static QRect Stored(const ProfileFile& profile, QSize screenSize);
  // Restores `window` to the normal state and puts it at the stored tile,
  // its position unclamped; the move and resize reach the window's own
  // handling, which remembers the placement too. `normalFrame`: the window
  // manager's frame around the window in the normal state (while a window
  // is maximised its frame is another).
  static void Recall(QWidget& window, const ProfileFile& profile, QMargins normalFrame);
  // Restores `window` to the normal state, asks, and on Yes stores its
  // outer rectangle in the normal state.
  static void Register(QWidget& window, ProfileFile& profile, QMargins normalFrame);
};
