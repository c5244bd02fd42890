#include "FileDropTarget.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

FileDropTarget::FileDropTarget(QWidget* widget) : QObject(widget) {
  widget->setAcceptDrops(true);
  widget->installEventFilter(this);
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
  const bool dragging = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove;
  if (!dragging && event->type() != QEvent::Drop) return QObject::eventFilter(watched, event);
  auto* drop = static_cast<QDropEvent*>(event);
  if (!drop->mimeData()->hasUrls()) return QObject::eventFilter(watched, event);
  drop->acceptProposedAction();
  if (dragging) return true;
  QStringList paths;
  for (const QUrl& url : drop->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  if (!paths.isEmpty()) emit FilesDropped(paths);
  return true;
}
