#pragma once

// Limits an edit box to a number of bytes of Shift-JIS, counted as the text
// would be stored: one byte for ASCII and half-width katakana, two for the
// rest.

#include <QValidator>

#include <cstddef>

class ShiftJisByteLimit : public QValidator {
 public:
  ShiftJisByteLimit(int maxBytes, QObject* parent) : QValidator(parent), m_maxBytes(maxBytes) {}

  static std::size_t BytesOf(const QString& text);
  static bool Fits(const QString& text, int maxBytes) { return BytesOf(text) <= static_cast<std::size_t>(maxBytes); }
  State validate(QString& input, int& position) const override;

 private:
  int m_maxBytes;
};
