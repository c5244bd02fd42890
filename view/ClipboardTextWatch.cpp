#include "ClipboardTextWatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

ClipboardTextWatch::ClipboardTextWatch(QObject* parent) : QObject(parent) {
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { m_known = false; });
}

bool ClipboardTextWatch::HasText() const {
  if (!m_known) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    m_hasText = data && data->hasText();
    m_known = true;
  }
  return m_hasText;
}
