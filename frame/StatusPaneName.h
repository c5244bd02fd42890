#pragma once

// What a screen reader reads for a status bar pane: what the pane is, then
// what it shows ("行 12行", "漢字コード SJS→SJS"); the modified mark, a
// circle on screen, is read as words.

#include <QString>

QString StatusPaneName(int paneId, const QString& shown);
