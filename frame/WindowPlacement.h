#pragma once

#include <QRect>
#include <QSize>

class ProfileFile;
class QWidget;

// The smallest window a stored size may give: a size of nothing (an empty
// or hand-edited value) must never make the window vanish, with its text.
inline constexpr QSize kSmallestVisibleWindow{160, 100};
// `size` made at least kSmallestVisibleWindow.
QSize AtLeastVisible(QSize size);

// The main window's stored placement: "Size"/"SizeX", "SizeY" (640 x 480 by
// default) and "Position"/"PosX", "PosY" (centred on a screen of
// `screenSize` by default, halves rounded toward zero). The position is not
// clamped (a window stored off the screen comes back off the screen); the
// size is at least kSmallestVisibleWindow.
QRect PlacementFromSettings(const ProfileFile& profile, QSize screenSize);

// Neither maximised nor minimised nor full screen: the only state whose
// placement is stored.
bool InNormalState(const QWidget& window);
