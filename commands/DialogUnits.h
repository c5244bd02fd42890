#pragma once

// Places a dialog's controls where its template puts them: positions and
// sizes in dialog units of the dialog's font, a quarter of the font's
// average character width across and an eighth of its height down.

#include <QFont>
#include <QRect>

class QWidget;

class DialogUnits {
 public:
  // "ＭＳ Ｐゴシック" 9 point, or the proportional Japanese face the system has.
  static QFont DialogFont();

  explicit DialogUnits(const QFont& font);

  QRect ToPixels(int x, int y, int width, int height) const;
  QSize ToPixels(int width, int height) const;
  void Place(QWidget* widget, int x, int y, int width, int height) const;

 private:
  double m_baseX;
  double m_baseY;
};
