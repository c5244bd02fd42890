#pragma once

// Where each page of the text starts, found page after page only as far as
// it is needed: the control lays a page out without drawing it, on a device
// of the printer's resolution, so the pages break where the print's do. A
// preview finds the first pages at once and the rest a little at a time.

#include <QImage>
#include <QPainter>

#include <vector>

class EditorControl;
class SheetLayout;

class PageBreaks {
 public:
  PageBreaks(const EditorControl& control, const SheetLayout& sheets);

  // Finds page starts until `pages` are known or the text has ended.
  void FindUntil(int pages);
  // Finds page starts for about `milliseconds` (at least one page).
  void FindFor(int milliseconds);
  // Every page is known.
  bool Complete() const { return m_complete; }
  // Pages whose start is known; once Complete(), the text's page count.
  int Known() const { return static_cast<int>(m_starts.size()); }
  // Where page `page` (from 0) starts; the page must be known.
  long Start(int page) const { return m_starts[static_cast<std::size_t>(page)]; }
  // How far into the text the pages are known, against its length.
  long Reached() const { return m_starts.back(); }
  long TextLength() const { return m_end; }

 private:
  void FindNext();

  const EditorControl& m_control;
  const SheetLayout& m_sheets;
  QImage m_device;
  QPainter m_painter;
  std::vector<long> m_starts{0};
  long m_end;
  bool m_complete = false;
};
