#include "TextPrinter.h"

#include <climits>

#include <QPainter>
#include <QPrinter>

#include "EditorControl.h"
#include "ProgressWatch.h"
#include "SheetLayout.h"

namespace {

// Text as light as the paper would vanish: it prints black instead.
bool TooLightForPaper(const QColor& colour) { return colour.lightness() > 0xE0; }

}  // namespace

void TextPrinter::PrepareControl(const EditorControl& control) {
  control.SendScintilla(QsciScintillaBase::SCI_SETPRINTWRAPMODE, QsciScintillaBase::SC_WRAP_WORD);
  control.SendScintilla(QsciScintillaBase::SCI_SETPRINTMAGNIFICATION, 0L);
  control.SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE,
                        TooLightForPaper(control.DefaultFormat().colour) ? QsciScintillaBase::SC_PRINT_BLACKONWHITE
                                                                         : QsciScintillaBase::SC_PRINT_COLOURONWHITE);
}

long TextPrinter::Page(QPainter& painter, int slot, long start, bool draw) const {
  const long end = m_control.TextLength();
  if (start >= end) return end;
  // Each page from a clean state: what one page leaves set (a marker box
  // switches clipping) is no business of the next.
  painter.save();
  if (draw) painter.setTransform(m_sheets.PageOnSheet(slot), true);
  long next = m_control.SendScintilla(QsciScintillaBase::SCI_FORMATRANGE, draw ? 1UL : 0UL, &painter,
                                      m_sheets.TextArea(), start, end);
  painter.restore();
  return next;
}

int TextPrinter::Print(QPrinter& printer, ProgressWatch* progress) const {
  // The margins are the program's, measured from the paper's edge.
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  PrepareControl(m_control);
  if (progress) progress->SetTotal(m_control.TextLength());

  // Pages before the range are laid out to find where the range starts.
  const int first = printer.fromPage() > 0 ? printer.fromPage() : 1;
  const int last = printer.toPage() > 0 ? printer.toPage() : INT_MAX;
  const int perSheet = m_sheets.PagesPerSheet();
  const long end = m_control.TextLength();
  long position = 0;
  int painted = 0;
  for (int page = 1; page <= last; ++page) {
    const bool paint = page >= first;
    const int slot = painted % perSheet;
    if (paint && painted > 0 && slot == 0 && !printer.newPage()) break;
    const long next = Page(painter, slot, position, paint);
    if (paint) ++painted;
    if (progress && !progress->Advance(next)) {
      painter.end();
      return 0;
    }
    // A page that takes nothing (an area smaller than one line) would never end.
    if (next >= end || next <= position) break;
    position = next;
  }
  painter.end();
  // A page range past the text's end still gave the printer its one blank page.
  return painted > 0 ? painted : 1;
}
