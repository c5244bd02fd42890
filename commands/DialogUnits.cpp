#include "DialogUnits.h"

#include <QFontMetricsF>
#include <QWidget>

#include <cmath>

QFont DialogUnits::DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
  font.setPointSize(9);
  return font;
}

// The average width is taken over the 52 Latin letters, as dialog
// templates measure it.
DialogUnits::DialogUnits(const QFont& font) {
  QFontMetricsF metrics(font);
  QString letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters += QLatin1Char(c);
  for (char c = 'a'; c <= 'z'; ++c) letters += QLatin1Char(c);
  m_baseX = std::round(metrics.horizontalAdvance(letters) / 26.0 + 1) / 2.0;
  m_baseY = std::round(metrics.height());
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
  return QRect(QPoint(static_cast<int>(std::lround(x * m_baseX / 4)), static_cast<int>(std::lround(y * m_baseY / 8))),
               ToPixels(width, height));
}

QSize DialogUnits::ToPixels(int width, int height) const {
  return QSize(static_cast<int>(std::lround(width * m_baseX / 4)), static_cast<int>(std::lround(height * m_baseY / 8)));
}

void DialogUnits::Place(QWidget* widget, int x, int y, int width, int height) const {
  widget->setGeometry(ToPixels(x, y, width, height));
}
