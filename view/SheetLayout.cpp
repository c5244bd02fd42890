#include "SheetLayout.h"

#include <QPrintEngine>
#include <QPrinter>

#include <algorithm>

namespace {

// Where the toolkit's print engine for the desktop's print system keeps the
// job options its dialogs chose, as name and value after each other: a key
// of its own, not in its public headers, the same since Qt 5.
constexpr auto kJobOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

struct Grid {
  int columns = 1;
  int rows = 1;
};

// The cells of a sheet: a grid of more columns than rows on paper wider
// than high, of more rows on paper higher than wide.
Grid GridFor(int pagesPerSheet, QSize sheet) {
  const bool wide = sheet.width() > sheet.height();
  auto longer = [wide](int across, int down) { return wide ? Grid{across, down} : Grid{down, across}; };
  switch (pagesPerSheet) {
    case 2: return longer(2, 1);
    case 4: return {2, 2};
    case 6: return longer(3, 2);
    case 9: return {3, 3};
    case 16: return {4, 4};
    default: return {1, 1};
  }
}

}  // namespace

SheetLayout::SheetLayout(const QPageLayout& paper, int resolution, int marginTwips, const SheetPages& pages)
    : m_resolution(resolution), m_order(pages.order) {
  m_sheet = paper.fullRectPixels(resolution).size();
  const Grid grid = GridFor(pages.count, m_sheet);
  m_columns = grid.columns;
  m_rows = grid.rows;
  m_page = m_sheet;
  if (PagesPerSheet() > 1) {
    const QSizeF cell(double(m_sheet.width()) / m_columns, double(m_sheet.height()) / m_rows);
    // The paper on its side when the cell is wider than high.
    QSize portrait = paper.pageSize().sizePixels(resolution);
    if (portrait.width() > portrait.height()) portrait.transpose();
    m_page = cell.width() > cell.height() ? portrait.transposed() : portrait;
    m_scale = std::min(cell.width() / m_page.width(), cell.height() / m_page.height());
  }
  const int margin = marginTwips * resolution / kTwipsPerInch;
  m_textArea = QRect(QPoint(0, 0), m_page).adjusted(margin, margin, -margin, -margin);
}

SheetLayout SheetLayout::ForPrinter(const QPrinter& printer, int marginTwips, const SheetPages& pages) {
  return SheetLayout(printer.pageLayout(), printer.resolution(), marginTwips, pages);
}

// The print dialog keeps them among the options it hands the print system
// with a job, which only a queue's printer has.
std::optional<SheetPages> SheetLayout::ChosenInPrintDialog(const QPrinter& printer) {
  if (printer.outputFormat() != QPrinter::NativeFormat) return std::nullopt;
  SheetPages pages;
  const QStringList options = printer.printEngine()->property(kJobOptions).toStringList();
  for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
    if (options[i] == QLatin1String("number-up")) pages.count = options[i + 1].toInt();
    else if (options[i] == QLatin1String("number-up-layout")) pages.order = options[i + 1];
  }
  if (pages.count <= 1) return std::nullopt;
  return pages;
}

QPoint SheetLayout::CellOf(int slot) const {
  const QString first = m_order.left(2), second = m_order.mid(2, 2);
  int column = 0, row = 0;
  if (first == QLatin1String("tb") || first == QLatin1String("bt")) {
    row = slot % m_rows;
    column = slot / m_rows;
    if (first == QLatin1String("bt")) row = m_rows - 1 - row;
    if (second == QLatin1String("rl")) column = m_columns - 1 - column;
  } else {
    column = slot % m_columns;
    row = slot / m_columns;
    if (first == QLatin1String("rl")) column = m_columns - 1 - column;
    if (second == QLatin1String("bt")) row = m_rows - 1 - row;
  }
  return {column, row};
}

QTransform SheetLayout::PageOnSheet(int slot) const {
  if (PagesPerSheet() == 1) return {};
  const QPoint cell = CellOf(slot);
  const double cellWidth = double(m_sheet.width()) / m_columns, cellHeight = double(m_sheet.height()) / m_rows;
  QTransform transform;
  transform.translate(cell.x() * cellWidth + (cellWidth - m_page.width() * m_scale) / 2,
                      cell.y() * cellHeight + (cellHeight - m_page.height() * m_scale) / 2);
  transform.scale(m_scale, m_scale);
  return transform;
}
