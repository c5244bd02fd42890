#include "ShiftJisByteLimit.h"

#include "ShiftJisCodec.h"

std::size_t ShiftJisByteLimit::BytesOf(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  return kanji::ShiftJisCodec::EncodedLength({utf8.constData(), static_cast<std::size_t>(utf8.size())});
}

// Typing or pasting past the limit is refused whole, as the box's length
// limit refuses it.
QValidator::State ShiftJisByteLimit::validate(QString& input, int&) const {
  return Fits(input, m_maxBytes) ? Acceptable : Invalid;
}
