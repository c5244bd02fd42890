#include "PopupMenuStyle.h"

#include <QApplication>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>

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

QSize PopupMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                       const QWidget* widget) const {
  QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (type == CT_MenuItem && item && item->menuItemType == QStyleOptionMenuItem::Separator)
    result.setHeight(std::max(result.height(), kSeparatorHeight));
  return result;
}
