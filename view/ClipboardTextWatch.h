#pragma once

// Whether the clipboard offers plain text, asked of the clipboard only after
// it changed. The paste command's enabling is worked out on every timer
// tick; asking the clipboard each time means a round trip to its owner
// (another program, on a desktop) twenty times a second while nothing
// happens.

#include <QObject>

class ClipboardTextWatch : public QObject {
 public:
  explicit ClipboardTextWatch(QObject* parent = nullptr);

  bool HasText() const;

 private:
  mutable bool m_known = false;
  mutable bool m_hasText = false;
};
