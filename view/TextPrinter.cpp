#include "TextPrinter.h"

#include <climits>

#include <QPainter>
#include <QPrinter>

#include "EditorControl.h"

namespace {

// Text as light as the paper would vanish: it prints black instead.
bool TooLightForPaper(const QColor& colour) { return colour.lightness() > 0xE0; }

}  // namespace

int TextPrinter::Print(QPrinter& printer) const {
  // The margins are the program's, measured from the paper's edge.
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  int margin = m_marginTwips * printer.resolution() / kTwipsPerInch;
  QRect area = printer.pageLayout().fullRectPixels(printer.resolution()).adjusted(margin, margin, -margin, -margin);

  m_control.SendScintilla(QsciScintillaBase::SCI_SETPRINTWRAPMODE, QsciScintillaBase::SC_WRAP_WORD);
  m_control.SendScintilla(QsciScintillaBase::SCI_SETPRINTMAGNIFICATION, 0L);
  m_control.SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE,
                          TooLightForPaper(m_control.DefaultFormat().colour)
                              ? QsciScintillaBase::SC_PRINT_BLACKONWHITE
                              : QsciScintillaBase::SC_PRINT_COLOURONWHITE);

  // Pages before the range are laid out to find where the range starts.
  int first = printer.fromPage() > 0 ? printer.fromPage() : 1;
  int last = printer.toPage() > 0 ? printer.toPage() : INT_MAX;
  long end = m_control.TextLength();
  long position = 0;
  int painted = 0;
  for (int page = 1; page <= last; ++page) {
    bool paint = page >= first;
    if (paint && painted > 0 && !printer.newPage()) break;
    long next = position < end ? m_control.SendScintilla(QsciScintillaBase::SCI_FORMATRANGE, paint ? 1UL : 0UL,
                                                         &painter, area, position, end)
                               : end;
    if (paint) ++painted;
    // A page that takes nothing (an area smaller than one line) would never end.
    if (next >= end || next <= position) break;
    position = next;
  }
  painter.end();
  // A page range past the text's end still gave the printer its one blank page.
  return painted > 0 ? painted : 1;
}
