#pragma once

// The cursor shown while a right- or middle-button drag scrolls the text:
// 32 x 32, black on a white outline, a frame with a two-headed vertical
// arrow along its right edge and a two-headed horizontal arrow along its
// bottom edge; hot spot (15, 15).

#include <QCursor>

class DragScrollCursor {
 public:
  static constexpr int kSize = 32;
  static constexpr int kHotSpot = 15;

  static QCursor Cursor();
  static QPixmap Picture();
};
