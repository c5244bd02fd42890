#pragma once

// Files dragged from the desktop onto a widget: a drag that carries URLs is
// accepted, and its drop hands over the local files among them instead of
// letting the widget take the drop (no text is inserted). The editing area
// and the main window share it, so a drop opens a file wherever it lands.

#include <QObject>
#include <QStringList>

class QWidget;

class FileDropTarget : public QObject {
  Q_OBJECT

 public:
  // Watches `widget`, which is made to accept drops, and lives as long as it.
  explicit FileDropTarget(QWidget* widget);

 signals:
  // Only when at least one local file was dropped.
  void FilesDropped(const QStringList& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
