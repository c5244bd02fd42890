#include "NoticeBarAccessible.h"

#include "NoticeBar.h"

namespace {

QAccessibleInterface* Factory(const QString& key, QObject* object) {
  if (key == QLatin1String("NoticeBar") && object && object->isWidgetType())
    return new NoticeBarAccessible(static_cast<NoticeBar*>(object));
  return nullptr;
}

}  // namespace

void NoticeBarAccessible::InstallOnce() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

void NoticeBarAccessible::Announce(NoticeBar* bar) {
  QAccessibleEvent shown(bar, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&shown);
}

NoticeBarAccessible::NoticeBarAccessible(NoticeBar* bar) : QAccessibleWidget(bar, QAccessible::Notification) {}

QString NoticeBarAccessible::text(QAccessible::Text type) const {
  if (type == QAccessible::Name) return static_cast<const NoticeBar*>(widget())->Text();
  return QAccessibleWidget::text(type);
}
