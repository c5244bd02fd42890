#include "MenuBarStyle.h"

int MenuBarStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
  switch (hint) {
    case SH_DrawMenuBarSeparator:
    case SH_Menu_AllowActiveAndDisabled:
      return 1;
    default:
      return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
}
