#pragma once

#include <QIcon>

// The 16 x 16 picture of a tool-bar button: one kanji or kana that names
// the command, in a small rounded frame, so every button reads at a glance.
QIcon ToolBarIcon(int id);
