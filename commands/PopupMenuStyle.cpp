#include "PopupMenuStyle.h"

#include <QApplication>
#include <QStyleFactory>

PopupMenuStyle::PopupMenuStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {
  setParent(qApp);
}

PopupMenuStyle* PopupMenuStyle::Instance() {
  static PopupMenuStyle* style = new PopupMenuStyle;
  return style;
}

int PopupMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
  if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}
