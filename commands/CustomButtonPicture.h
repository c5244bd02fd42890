#pragma once

// The picture at the top of the custom button dialog: the custom button as
// the tool bar shows it, raised, so that the dialog's "↑" points at what it
// configures. 23 x 23 pixels.

#include <QPixmap>

class CustomButtonPicture {
 public:
  static constexpr int kSize = 23;
  static QPixmap Picture();
};
