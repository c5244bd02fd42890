#pragma once

// The program's file dialogs speak Japanese throughout and read well: the
// type column names kinds in Japanese (Qt's own words for them are left in
// English), and the size and type columns are as wide as what they show.

class QFileDialog;

namespace platform {

void MakeJapaneseFileDialog(QFileDialog& dialog);

}  // namespace platform
