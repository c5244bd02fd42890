#include "CustomButtonPicture.h"

#include <QPainter>

#include "CommandIds.h"
#include "MenuLayout.h"
#include "Resources.h"

namespace {

// The button's own 16 x 16 picture from the tool-bar strip, which holds one
// picture a button in tool-bar order.
QPixmap ToolBarPicture() {
  res::InitResources();
  QPixmap strip(QStringLiteral(":/icons/toolbar.png"));
  int button = 0;
  for (int slot : res::ToolBarSlots()) {
    if (slot == ids::kCustomButton) return strip.copy(button * 16, 0, 16, 16);
    if (slot != 0) ++button;
  }
  return QPixmap();
}

}  // namespace

QPixmap CustomButtonPicture::Picture() {
  QPixmap picture(kSize, kSize);
  picture.fill(QColor(0xd4, 0xd0, 0xc8));
  QPainter painter(&picture);
  const int last = kSize - 1;
  painter.setPen(Qt::white);  // lit from the top left
  painter.drawLine(0, 0, last - 1, 0);
  painter.drawLine(0, 0, 0, last - 1);
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.drawLine(1, last - 1, last - 1, last - 1);
  painter.drawLine(last - 1, 1, last - 1, last - 1);
  painter.setPen(Qt::black);
  painter.drawLine(0, last, last, last);
  painter.drawLine(last, 0, last, last);
  painter.drawPixmap((kSize - 16) / 2, (kSize - 16) / 2, ToolBarPicture());
  return picture;
}
