#pragma once

// The cycle popup's pages let the pointer rest on an unavailable item, as
// the desktop's menus here always have, so that its prompt still reaches
// the status bar: an empty page's only item says why nothing is there.

#include <QProxyStyle>

class PopupMenuStyle : public QProxyStyle {
 public:
  // One for the process, on the application's own style.
  static PopupMenuStyle* Instance();

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;

 private:
  PopupMenuStyle();
};
