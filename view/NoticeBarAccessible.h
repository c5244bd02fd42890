#pragma once

// The notice bar as a screen reader meets it: a notification whose name is
// the notice. Readers speak a notification when it is shown, so the notice
// is heard as the bar appears without taking the focus from the text.

#include <QAccessibleWidget>

class NoticeBar;

class NoticeBarAccessible : public QAccessibleWidget {
 public:
  // Makes Qt ask this class for every NoticeBar's accessible object.
  static void InstallOnce();
  // A new notice in a bar already shown is shown anew to the readers.
  static void Announce(NoticeBar* bar);

  explicit NoticeBarAccessible(NoticeBar* bar);
  QString text(QAccessible::Text type) const override;
};
