#pragma once

// Lays the editing control's text out on paper: the whole text in the
// control's font and text colour on white, wrapped to the width between the
// margins, page after page, one or more pages a sheet (SheetLayout). The
// control lays each page out itself, so the paper shows the text as the
// screen does (tabs, the boxes of bytes and pairs without a character),
// with the desktop's font fallback for any script the face lacks.

#include <QRect>

class EditorControl;
class ProgressWatch;
class QPainter;
class QPrinter;
class SheetLayout;

class TextPrinter {
 public:
  TextPrinter(const EditorControl& control, const SheetLayout& sheets) : m_control(control), m_sheets(sheets) {}

  // Paints the text on `printer` (its page range only, when it has one;
  // the range counts pages, not sheets) and returns the number of pages
  // painted: at least one for an empty text, 0 when the printer cannot be
  // painted on (an output file that cannot be written) or when the user
  // stopped it through `progress`.
  int Print(QPrinter& printer, ProgressWatch* progress = nullptr) const;

  // Lays out (draws when `draw`) the page that starts at `start` into cell
  // `slot` of the sheet `painter` paints; returns where the next page
  // starts, the text's length after the last page.
  long Page(QPainter& painter, int slot, long start, bool draw) const;

  // The control's print settings (wrapping, no magnification, the colours
  // on white paper): set before any page is laid out.
  static void PrepareControl(const EditorControl& control);

 private:
  const EditorControl& m_control;
  const SheetLayout& m_sheets;
};
