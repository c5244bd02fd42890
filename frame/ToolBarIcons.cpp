#include "ToolBarIcons.h"

#include <QPixmap>
#include <QPixmapCache>

#include "CommandIds.h"
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

QString ThemeIconName(int id) {
  switch (id) {
    case ids::kFileNew: return QStringLiteral("document-new");
    case ids::kFileOpen: return QStringLiteral("document-open");
    case ids::kFileSave: return QStringLiteral("document-save");
    case ids::kPrintPreview: return QStringLiteral("document-print-preview");
    case ids::kPrint: return QStringLiteral("document-print");
    case ids::kUndo: return QStringLiteral("edit-undo");
    case ids::kCut: return QStringLiteral("edit-cut");
    case ids::kCopy: return QStringLiteral("edit-copy");
    case ids::kPaste: return QStringLiteral("edit-paste");
    case ids::kFind: return QStringLiteral("edit-find");
    case ids::kReplace: return QStringLiteral("edit-find-replace");
    case ids::kGoToLine: return QStringLiteral("go-jump");
    case ids::kExit: return QStringLiteral("application-exit");
    default: return QString();
  }
}

QIcon OwnToolBarIcon(int id) {
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

QIcon ToolBarIcon(int id) {
  QString name = ThemeIconName(id);
  if (!name.isEmpty() && QIcon::hasThemeIcon(name)) {
    // A theme may hold only SVG pictures, which Qt cannot draw without its
    // SVG module: such an icon exists but shows nothing.
    QIcon themed = QIcon::fromTheme(name);
    if (!themed.pixmap(QSize(16, 16)).isNull()) return themed;
  }
  return OwnToolBarIcon(id);
}
