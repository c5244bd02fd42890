// Where the pages of a print go on a sheet: the grid for each number of
// pages per sheet, the order of its cells, and a page shrunk whole into its
// cell.

#include "SheetLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr int kResolution = 1200;
constexpr int kMarginTwips = 1080;

QPageLayout A4(QPageLayout::Orientation orientation) {
  return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF());
}

// The cell a slot's page lands in, as (column, row), from the page's centre.
QPoint CellOf(const SheetLayout& sheets, int slot, int columns, int rows) {
  const QPointF centre = sheets.PageOnSheet(slot).map(QRectF(sheets.TextArea()).center());
  return QPoint(int(centre.x() * columns / sheets.SheetSize().width()),
                int(centre.y() * rows / sheets.SheetSize().height()));
}

TEST(SheetLayout, OnePageFillsTheSheetWithinTheMargins) {
  const SheetLayout sheets(A4(QPageLayout::Portrait), kResolution, kMarginTwips);
  const int margin = kMarginTwips * kResolution / SheetLayout::kTwipsPerInch;
  EXPECT_EQ(sheets.PagesPerSheet(), 1);
  EXPECT_EQ(sheets.TextArea(), QRect(QPoint(0, 0), sheets.SheetSize()).adjusted(margin, margin, -margin, -margin));
  EXPECT_TRUE(sheets.PageOnSheet(0).isIdentity());
  EXPECT_EQ(sheets.SheetsFor(3), 3);
}

struct GridCase {
  int count;
  QPageLayout::Orientation orientation;
  int columns, rows;
};

TEST(SheetLayout, TheGridRunsAlongTheLongerSideAndEachPageFitsItsCell) {
  const GridCase cases[] = {{2, QPageLayout::Landscape, 2, 1}, {2, QPageLayout::Portrait, 1, 2},
                            {4, QPageLayout::Portrait, 2, 2}, {6, QPageLayout::Landscape, 3, 2},
                            {6, QPageLayout::Portrait, 2, 3}, {9, QPageLayout::Portrait, 3, 3},
                            {16, QPageLayout::Landscape, 4, 4}};
  for (const GridCase& c : cases) {
    const SheetLayout sheets(A4(c.orientation), kResolution, kMarginTwips, {c.count, QStringLiteral("lrtb")});
    EXPECT_EQ(sheets.PagesPerSheet(), c.count);
    EXPECT_EQ(sheets.SheetsFor(c.count + 1), 2);
    const QRectF sheet(QPoint(0, 0), sheets.SheetSize());
    for (int slot = 0; slot < c.count; ++slot) {
      const QRectF page = sheets.PageOnSheet(slot).mapRect(QRectF(sheets.TextArea()));
      EXPECT_TRUE(sheet.contains(page)) << c.count << " slot " << slot;
      EXPECT_EQ(CellOf(sheets, slot, c.columns, c.rows), QPoint(slot % c.columns, slot / c.columns))
          << c.count << " slot " << slot;
    }
  }
}

// The cells of four pages a sheet in each order the page set-up offers.
TEST(SheetLayout, CellsAreTakenInTheOrderChosen) {
  const struct {
    const char* order;
    QPoint first, second;
  } cases[] = {{"lrtb", {0, 0}, {1, 0}}, {"lrbt", {0, 1}, {1, 1}}, {"rlbt", {1, 1}, {0, 1}},
               {"rltb", {1, 0}, {0, 0}}, {"btlr", {0, 1}, {0, 0}}, {"btrl", {1, 1}, {1, 0}},
               {"tblr", {0, 0}, {0, 1}}, {"tbrl", {1, 0}, {1, 1}}};
  for (const auto& c : cases) {
    const SheetLayout sheets(A4(QPageLayout::Portrait), kResolution, kMarginTwips, {4, QString::fromLatin1(c.order)});
    EXPECT_EQ(CellOf(sheets, 0, 2, 2), c.first) << c.order;
    EXPECT_EQ(CellOf(sheets, 1, 2, 2), c.second) << c.order;
  }
}

}  // namespace
