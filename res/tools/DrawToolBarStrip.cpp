// Draws the tool-bar strip res/icons/toolbar.png (and toolbar@2x.png): one
// 16 x 16 picture a button, in tool-bar order, each one kanji or kana that
// names the command in a small rounded frame. Run it again after changing
// a picture: build the target kb_draw_toolbar_strip and run it with the
// folder to write to.

#include <QGuiApplication>
#include <QFont>
#include <QPainter>
#include <QPixmap>

#include <utility>

#include "CommandIds.h"
#include "MenuLayout.h"

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

void DrawGlyph(QPainter& painter, const Glyph& glyph, int x, int scale) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(glyph.colour, scale));
  painter.setBrush(glyph.colour.lighter(190));
  painter.drawRoundedRect(QRectF(x + 0.5 * scale, 0.5 * scale, 15 * scale, 15 * scale), 3 * scale, 3 * scale);
  QFont font(QStringLiteral("IPAGothic"));
  font.setPixelSize(12 * scale);
  painter.setFont(font);
  painter.setPen(glyph.colour.darker(130));
  painter.drawText(QRect(x, 0, 16 * scale, 16 * scale), Qt::AlignCenter, QString::fromUtf8(glyph.text));
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) return 2;
  std::vector<const Glyph*> buttons;
  for (int id : res::ToolBarSlots())
    for (const Glyph& glyph : kGlyphs)
      if (id != 0 && glyph.id == id) buttons.push_back(&glyph);
  for (int scale : {1, 2}) {
    QPixmap strip(16 * scale * static_cast<int>(buttons.size()), 16 * scale);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (std::size_t i = 0; i < buttons.size(); ++i) DrawGlyph(painter, *buttons[i], static_cast<int>(i) * 16 * scale, scale);
    painter.end();
    QString name = QString::fromLocal8Bit(argv[1]) + (scale == 1 ? "/toolbar.png" : "/toolbar@2x.png");
    if (!strip.save(name)) return 1;
  }
  return 0;
}
