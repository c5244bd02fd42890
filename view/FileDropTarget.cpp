#include "FileDropTarget.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "FileName.h"

namespace {

// The local files of a drop by their names' bytes: the URL list carries a
// name that is no UTF-8 (Shift-JIS, EUC) percent-encoded byte for byte,
// which QUrl would decode as UTF-8, losing those bytes.
QStringList LocalFiles(const QMimeData& data) {
  QStringList paths;
  const QString uriList = QStringLiteral("text/uri-list");
  if (!data.hasFormat(uriList)) {
    for (const QUrl& url : data.urls())
      if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
  }
  for (QByteArray line : data.data(uriList).split('\n')) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith('#')) continue;
    const QUrl url = QUrl::fromEncoded(line);
    if (!url.isLocalFile()) continue;
    // The path part as the list wrote it, still percent-encoded.
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    const QByteArray bytes = QByteArray::fromPercentEncoding(encoded);
    paths << FileName::FromBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  }
  return paths;
}

}  // namespace

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
  QStringList paths = LocalFiles(*drop->mimeData());
  if (!paths.isEmpty()) emit FilesDropped(paths);
  return true;
}
