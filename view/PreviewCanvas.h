#pragma once

// The paper of a print preview: one sheet, or two side by side (a spread:
// sheets 1 and 2, then 3 and 4), each drawn as white paper with a shadow on
// a grey ground, at a scale of screen pixels to the printer's. Sheets are
// drawn only when shown, and only the ones shown are kept.

#include <QImage>
#include <QSize>
#include <QWidget>

#include <functional>
#include <map>

class PreviewCanvas : public QWidget {
  Q_OBJECT

 public:
  // Draws sheet `sheet` (from 0) at `scale` screen pixels a printer pixel.
  using DrawSheet = std::function<QImage(int sheet, double scale)>;

  static constexpr int kMargin = 16;  // around the spread, and between its sheets

  PreviewCanvas(QSize sheetPixels, DrawSheet draw, QWidget* parent = nullptr);

  // Shows `count` sheets from `first` (the second may be missing: the
  // spread after the last sheet's).
  void ShowSheets(int first, int count, bool secondExists);
  void SetScale(double scale);
  double Scale() const { return m_scale; }
  // The scale at which the spread of `count` sheets fits `room`.
  double FitScale(QSize room, int count) const;
  // Where sheet `index` of the spread (0 or 1) is drawn.
  QRect SheetRect(int index) const;

  QSize sizeHint() const override;

 signals:
  // The sheets shown are on the screen.
  void Painted();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage& SheetImage(int sheet);
  QSize ScaledSheet() const;

  QSize m_sheetPixels;
  DrawSheet m_draw;
  double m_scale = 0.05;
  int m_first = 0;
  int m_count = 1;
  bool m_secondExists = false;
  std::map<int, QImage> m_drawn;  // the sheets shown, at m_scale
};
