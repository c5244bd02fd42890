#pragma once

// Where the pages of a print go on the paper. One page fills a sheet; with
// pages per sheet (2, 4, 6, 9 or 16, chosen in the page set-up) the sheet
// is cut into a grid of cells, and each page, as large as the paper in the
// orientation that suits its cell, is shrunk into a cell, the cells taken
// in the order the set-up chose ("lrtb": left to right, then top to bottom,
// and so on). The paper is the printer's, in the orientation chosen.
//
// A page has its own pixels, the printer's at its resolution: the text is
// laid out on a page of full size and only drawn smaller, so a page breaks
// where it would alone on a sheet of that paper.

#include <QPageLayout>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTransform>

#include <optional>

class QPrinter;

// How many pages a sheet holds (1, 2, 4, 6, 9 or 16) and the order of its
// cells: "lrtb" left to right, then top to bottom; "lrbt", "rlbt", "rltb";
// "btlr" bottom to top, then left to right; "btrl", "tblr", "tbrl".
struct SheetPages {
  int count = 1;
  QString order = QStringLiteral("lrtb");
  bool operator==(const SheetPages&) const = default;
};

class SheetLayout {
 public:
  static constexpr int kTwipsPerInch = 1440;

  SheetLayout(const QPageLayout& paper, int resolution, int marginTwips, const SheetPages& pages = {});

  // The paper of `printer`, one page a sheet.
  static SheetLayout ForPrinter(const QPrinter& printer, int marginTwips, const SheetPages& pages = {});
  // The pages per sheet chosen in the print dialog's printer properties for a
  // queue of the desktop's print system, when more than one.
  static std::optional<SheetPages> ChosenInPrintDialog(const QPrinter& printer);

  int PagesPerSheet() const { return m_columns * m_rows; }
  int Resolution() const { return m_resolution; }
  // The sheet in device pixels.
  QSize SheetSize() const { return m_sheet; }
  // The text area of a page, in the page's own pixels: the page less the
  // margins.
  QRect TextArea() const { return m_textArea; }
  // From the pixels of the page in cell `slot` (0 to PagesPerSheet() - 1)
  // to the sheet's.
  QTransform PageOnSheet(int slot) const;
  int SheetsFor(int pages) const { return (pages + PagesPerSheet() - 1) / PagesPerSheet(); }

 private:
  QPoint CellOf(int slot) const;

  int m_resolution;
  QSize m_sheet;
  QSize m_page;
  QRect m_textArea;
  int m_columns = 1;
  int m_rows = 1;
  QString m_order;
  double m_scale = 1.0;
};
