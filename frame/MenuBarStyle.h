#pragma once

// The desktop's style with two changes for the main window's menus: a
// separator in the menu bar puts the menus after it at the bar's right end
// (Help stands there and stays a menu of the bar, reached by the arrow keys
// and by sliding the mouse), and a disabled item can be highlighted, so its
// prompt shows in the status bar like any other item's.

#include <QProxyStyle>

class MenuBarStyle : public QProxyStyle {
  Q_OBJECT

 public:
  int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                QStyleHintReturn* returnData = nullptr) const override;
};
