#pragma once

// The cycle popup's pages let the pointer rest on an unavailable item, as
// the desktop's menus here always have, so that its prompt still reaches
// the status bar: an empty page's only item says why nothing is there.
// Their separators take a row of their own height, so that a page of
// separators alone is still a page one can see.

#include <QProxyStyle>

class PopupMenuStyle : public QProxyStyle {
 public:
  // One for the process, on the application's own style.
  static PopupMenuStyle* Instance();

  static constexpr int kSeparatorHeight = 7;

  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;

 private:
  PopupMenuStyle();
};
