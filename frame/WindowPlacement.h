#pragma once

#include <QRect>
#include <QSize>

class ProfileFile;
class QWidget;

// The main window's stored placement: "Size"/"SizeX", "SizeY" (640 x 480 by
// default) and "Position"/"PosX", "PosY" (centred on a screen of
// `screenSize` by default, halves rounded toward zero). Nothing is clamped:
// a window stored off the screen comes back off the screen.
QRect PlacementFromSettings(const ProfileFile& profile, QSize screenSize);

// Neither maximised nor minimised nor full screen: the only state whose
// placement is stored.
bool InNormalState(const QWidget& window);
