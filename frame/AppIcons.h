#pragma once

#include <QIcon>

// The program's icon and the two document icons, compiled in as SVG (for
// exporting to the desktop) with PNG renders at 16 to 256 pixels, from
// which these icons are built: Qt draws PNGs without its SVG module.
// `index` as the document type's default icon counts: 0 the program,
// 1 and 2 the documents.
// `largest` leaves out the larger renders (each is decoded as the icon is made).
QIcon AppIcon(int index, int largest = 256);
inline QIcon ProgramIcon(int largest = 256) { return AppIcon(0, largest); }
