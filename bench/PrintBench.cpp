// Printing: 1,000 pages of Japanese prose laid out to a PDF file through the
// editor's print layout, in pages per second, beside the toolkit's own text
// document printing the same text in the same font, page size and margins
// (on a tenth of the pages: it lays the whole text out before it prints).
//
// usage: print_bench [pages]          (default 1000)

#include <QApplication>
#include <QPrinter>
#include <QTextDocument>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchTexts.h"
#include "EditorControl.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"
#include "TextPrinter.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

constexpr int kMarginTwips = 1080;
constexpr double kTargetPagesPerSecond = 50;

CharFormat Gothic12() {
  CharFormat format;
  format.face = QStringLiteral("ＭＳ ゴシック");
  format.twips = 240;
  return format;
}

void PdfOn(QPrinter& printer, const std::string& path, int pages) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setFromTo(1, pages);
}

// Enough prose for `pages` pages: about 45 lines of 40 characters a page.
std::string ProseFor(int pages) { return bench::JapaneseShiftJis(static_cast<std::size_t>(pages) * 45 * 90); }

double EditorPagesPerSecond(const std::string& shiftJis, int pages, const TempDir& dir, int* printed) {
  EditorControl control;
  control.SetDefaultFormat(Gothic12());
  control.SetShiftJisText(shiftJis);
  QPrinter printer(QPrinter::HighResolution);
  PdfOn(printer, dir.File("editor.pdf"), pages);
  auto start = Clock::now();
  *printed = TextPrinter(control, kMarginTwips).Print(printer);
  return *printed / Seconds(start);
}

double TextDocumentPagesPerSecond(const std::string& shiftJis, const TempDir& dir, int* printed) {
  QTextDocument document;
  QFont font(Gothic12().face);
  font.setPointSize(12);
  document.setDefaultFont(font);
  document.setPlainText(QString::fromStdString(kanji::ShiftJisCodec::Decode(shiftJis)));
  QPrinter printer(QPrinter::HighResolution);
  PdfOn(printer, dir.File("document.pdf"), 0);
  printer.setPageMargins(QMarginsF(54, 54, 54, 54), QPageLayout::Point);
  auto start = Clock::now();
  document.print(&printer);
  double seconds = Seconds(start);
  *printed = document.pageCount();
  return *printed / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int pages = argc > 1 ? std::atoi(argv[1]) : 1000;
  TempDir dir;
  std::string prose = ProseFor(pages);
  int editorPages = 0, documentPages = 0;
  double editor = EditorPagesPerSecond(prose, pages, dir, &editorPages);
  double document = TextDocumentPagesPerSecond(prose.substr(0, prose.size() / 10), dir, &documentPages);
  std::printf("Printing Japanese prose to PDF (A4, 12 pt, 0.75 in margins)\n");
  std::printf("  %-40s %6d pages %8.1f pages/s\n", "editor's print layout", editorPages, editor);
  std::printf("  %-40s %6d pages %8.1f pages/s (%.2fx the editor's time a page)\n", "toolkit's text document printing",
              documentPages, document, editor / document);
  bool met = editorPages == pages && editor >= kTargetPagesPerSecond;
  std::printf("  %-5s %d pages at %.0f pages/s or more (%.1f)\n", met ? "met" : "MISS", pages, kTargetPagesPerSecond,
              editor);
  return 0;
}
