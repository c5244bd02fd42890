#include "PreviewCanvas.h"

#include <QPainter>
#include <QPaintEvent>

PreviewCanvas::PreviewCanvas(QSize sheetPixels, DrawSheet draw, QWidget* parent)
    : QWidget(parent), m_sheetPixels(sheetPixels), m_draw(std::move(draw)) {
  setObjectName(QStringLiteral("previewCanvas"));
  setAutoFillBackground(true);
  QPalette ground = palette();
  ground.setColor(QPalette::Window, QColor(0xA0, 0xA0, 0xA4));
  setPalette(ground);
}

QSize PreviewCanvas::ScaledSheet() const {
  return QSize(qMax(1, qRound(m_sheetPixels.width() * m_scale)), qMax(1, qRound(m_sheetPixels.height() * m_scale)));
}

QSize PreviewCanvas::sizeHint() const {
  const QSize sheet = ScaledSheet();
  return QSize(m_count * sheet.width() + (m_count + 1) * kMargin, sheet.height() + 2 * kMargin);
}

double PreviewCanvas::FitScale(QSize room, int count) const {
  const double across = double(room.width() - (count + 1) * kMargin) / (count * m_sheetPixels.width());
  const double down = double(room.height() - 2 * kMargin) / m_sheetPixels.height();
  return qMax(0.001, qMin(across, down));
}

void PreviewCanvas::ShowSheets(int first, int count, bool secondExists) {
  m_first = first;
  m_count = count;
  m_secondExists = count == 2 && secondExists;
  // Only the sheets shown stay drawn: a long preview keeps two at most.
  for (auto it = m_drawn.begin(); it != m_drawn.end();)
    it = it->first >= first && it->first < first + count ? std::next(it) : m_drawn.erase(it);
  resize(sizeHint());
  update();
}

void PreviewCanvas::SetScale(double scale) {
  if (scale == m_scale) return;
  m_scale = scale;
  m_drawn.clear();
  resize(sizeHint());
  update();
}

QRect PreviewCanvas::SheetRect(int index) const {
  const QSize sheet = ScaledSheet();
  const int spreadWidth = m_count * sheet.width() + (m_count - 1) * kMargin;
  const int left = qMax(kMargin, (width() - spreadWidth) / 2);
  const int top = qMax(kMargin, (height() - sheet.height()) / 2);
  return QRect(QPoint(left + index * (sheet.width() + kMargin), top), sheet);
}

const QImage& PreviewCanvas::SheetImage(int sheet) {
  auto found = m_drawn.find(sheet);
  if (found == m_drawn.end()) found = m_drawn.emplace(sheet, m_draw(sheet, m_scale)).first;
  return found->second;
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int shown = m_count == 2 && m_secondExists ? 2 : 1;
  for (int index = 0; index < shown; ++index) {
    const QRect sheet = SheetRect(index);
    painter.fillRect(sheet.translated(3, 3), QColor(0x50, 0x50, 0x50));  // the paper's shadow
    painter.drawImage(sheet, SheetImage(m_first + index));
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));
  }
  emit Painted();
}
