#include "ToolBarIcons.h"

#include <QPixmap>
#include <QPixmapCache>

#include "MenuLayout.h"
#include "Resources.h"

namespace {

// The buttons' pictures, one strip in tool-bar order (res/icons), read
// once and kept in Qt's pixmap cache.
QPixmap Strip(int scale) {
  QString name = scale == 1 ? QStringLiteral(":/icons/toolbar.png") : QStringLiteral(":/icons/toolbar@2x.png");
  QPixmap strip;
  if (!QPixmapCache::find(name, &strip)) {
    res::InitResources();
    strip.load(name);
    QPixmapCache::insert(name, strip);
  }
  return strip;
}

}  // namespace

QIcon ToolBarIcon(int id) {
  int button = 0;
  for (int slot : res::ToolBarSlots()) {
    if (slot == 0) continue;
    if (slot == id) {
      QIcon icon;
      for (int scale : {1, 2}) icon.addPixmap(Strip(scale).copy(button * 16 * scale, 0, 16 * scale, 16 * scale));
      return icon;
    }
    ++button;
  }
  return QIcon();
}
