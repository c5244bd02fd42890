#include "DragScrollCursor.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Frame and arrows as one outline; heads are filled triangles.
QPainterPath Shapes() {
  QPainterPath lines;
  lines.addRect(1.5, 1.5, 23, 23);  // the frame
  lines.moveTo(28.5, 4);            // the vertical arrow's shaft
  lines.lineTo(28.5, 22);
  lines.moveTo(4, 28.5);  // the horizontal arrow's shaft
  lines.lineTo(22, 28.5);
  return lines;
}

QPolygonF Heads(int index) {
  switch (index) {
    case 0: return QPolygonF({{28.5, 1}, {25.5, 5}, {31.5, 5}});     // up
    case 1: return QPolygonF({{28.5, 25}, {25.5, 21}, {31.5, 21}});  // down
    case 2: return QPolygonF({{1, 28.5}, {5, 25.5}, {5, 31.5}});     // left
    default: return QPolygonF({{25, 28.5}, {21, 25.5}, {21, 31.5}});  // right
  }
}

void Draw(QPainter& painter, const QColor& colour, int width) {
  painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(Shapes());
  painter.setBrush(colour);
  for (int head = 0; head < 4; ++head) painter.drawPolygon(Heads(head));
}

}  // namespace

QPixmap DragScrollCursor::Picture() {
  QPixmap picture(kSize, kSize);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  Draw(painter, Qt::white, 3);  // the outline keeps it visible on dark text
  Draw(painter, Qt::black, 1);
  return picture;
}

QCursor DragScrollCursor::Cursor() { return QCursor(Picture(), kHotSpot, kHotSpot); }
