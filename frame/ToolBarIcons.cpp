#include "ToolBarIcons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

#include <utility>

#include "CommandIds.h"

namespace {

struct Glyph {
  int id;
  const char* text;
  QColor colour;
};

const Glyph kGlyphs[] = {
    {ids::kNewWindow, "窓", QColor(0x2e, 0x6d, 0xb4)},    {ids::kFileNew, "新", QColor(0x2e, 0x6d, 0xb4)},
    {ids::kFileOpen, "開", QColor(0x2e, 0x6d, 0xb4)},     {ids::kFileSave, "保", QColor(0x2e, 0x6d, 0xb4)},
    {ids::kPrintPreview, "覧", QColor(0x55, 0x55, 0x55)}, {ids::kPrint, "印", QColor(0x55, 0x55, 0x55)},
    {ids::kUndo, "戻", QColor(0x8a, 0x5a, 0x00)},         {ids::kCut, "切", QColor(0x8a, 0x5a, 0x00)},
    {ids::kCopy, "写", QColor(0x8a, 0x5a, 0x00)},         {ids::kPaste, "貼", QColor(0x8a, 0x5a, 0x00)},
    {ids::kFind, "検", QColor(0x1f, 0x7a, 0x3a)},         {ids::kReplace, "置", QColor(0x1f, 0x7a, 0x3a)},
    {ids::kGoToLine, "行", QColor(0x1f, 0x7a, 0x3a)},     {ids::kInsertPhrase, "句", QColor(0x7b, 0x3f, 0x9e)},
    {ids::kQuickTile, "配", QColor(0x7b, 0x3f, 0x9e)},    {ids::kMiniLauncher, "起", QColor(0x7b, 0x3f, 0x9e)},
    {ids::kCustomButton, "カ", QColor(0x7b, 0x3f, 0x9e)}, {ids::kExit, "終", QColor(0xb0, 0x30, 0x30)},
};

}  // namespace

QIcon ToolBarIcon(int id) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.id != id) continue;
    QIcon icon;
    for (int scale : {1, 2}) {
      QPixmap pixmap(16 * scale, 16 * scale);
      pixmap.fill(Qt::transparent);
      QPainter painter(&pixmap);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setPen(QPen(glyph.colour, scale));
      painter.setBrush(glyph.colour.lighter(190));
      painter.drawRoundedRect(QRectF(0.5 * scale, 0.5 * scale, 15 * scale, 15 * scale), 3 * scale, 3 * scale);
      QFont font(QStringLiteral("IPAGothic"));
      font.setPixelSize(12 * scale);
      painter.setFont(font);
      painter.setPen(glyph.colour.darker(130));
      painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromUtf8(glyph.text));
      painter.end();
      icon.addPixmap(pixmap);
    }
    return icon;
  }
  return QIcon();
}
