#include "WindowPlacement.h"

#include <QWidget>

#include "ProfileFile.h"

QSize AtLeastVisible(QSize size) { return size.expandedTo(kSmallestVisibleWindow); }

QRect PlacementFromSettings(const ProfileFile& profile, QSize screenSize) {
  int width = profile.GetProfileInt("Size", "SizeX", 640);
  int height = profile.GetProfileInt("Size", "SizeY", 480);
  int x = profile.GetProfileInt("Position", "PosX", (screenSize.width() - width) / 2);
  int y = profile.GetProfileInt("Position", "PosY", (screenSize.height() - height) / 2);
  return QRect(QPoint(x, y), AtLeastVisible(QSize(width, height)));
}

bool InNormalState(const QWidget& window) {
  return !window.isMaximized() && !window.isMinimized() && !window.isFullScreen();
}
