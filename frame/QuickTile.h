#pragma once

// One saved window placement, apart from the one the main window keeps by
// itself, recalled on command: "Position"/"TilePosX", "TilePosY" and
// "Size"/"TileSizeX", "TileSizeY" (640 x 480 centred on the primary screen
// until one is registered). Nothing is held between commands.

#include <QRect>
#include <QSize>

class ProfileFile;
class QWidget;

class QuickTile {
 public:
  // The stored tile, defaults computed for a screen of `screenSize`.
  static QRect Stored(const ProfileFile& profile, QSize screenSize);
  // Restores `window` to the normal state and puts it at the stored tile,
  // unclamped; the move and resize reach the window's own handling, which
  // remembers the placement too.
  static void Recall(QWidget& window, const ProfileFile& profile);
  // Restores `window` to the normal state, asks, and on Yes stores its
  // outer rectangle.
  static void Register(QWidget& window, ProfileFile& profile);
};
