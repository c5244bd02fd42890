#pragma once

// A status pane's text kept with the value it was made from. The panes are
// asked for their texts on every 50 ms tick and their values seldom change:
// the text is formatted again only when the value has, and otherwise the
// same shared string is handed out (no formatting, no allocation).

#include <QString>

template <class Value>
class CachedPaneText {
 public:
  template <class Format>
  const QString& For(const Value& value, Format format) {
    if (!m_made || !(value == m_value)) {
      m_text = format(value);
      m_value = value;
      m_made = true;
    }
    return m_text;
  }

 private:
  Value m_value{};
  QString m_text;
  bool m_made = false;
};
