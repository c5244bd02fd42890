#pragma once

#include <QIcon>
#include <QString>

// The picture of a tool-bar button. Commands the desktop's icon theme knows
// (new, open, save, print, undo, cut, copy, paste, find, exit...) take the
// theme's picture, so the bar looks like the rest of the desktop; the
// editor's own commands, and every command when there is no theme (or its
// picture cannot be drawn), take our own 16 x 16 picture: one kanji or kana
// naming the command in a small rounded frame.
QIcon ToolBarIcon(int id);

// Our own picture of a tool-bar button, whatever the theme holds.
QIcon OwnToolBarIcon(int id);

// The freedesktop icon name for a command, empty for the editor's own.
QString ThemeIconName(int id);
