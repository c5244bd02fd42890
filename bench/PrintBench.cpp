// Printing: 1,000 pages of Japanese prose laid out to a PDF file through the
// editor's print layout, in pages per second, beside the toolkit's own text
// document printing the same text in the same font, page size and margins
// (on a tenth of the pages: it lays the whole text out before it prints).
//
// Print preview: from the command to the first page painted on the screen,
// for 1,000 pages beside 3 pages in alternating rounds: a preview lays out
// only the pages it shows, so the long text's first page comes as soon.
//
// usage: print_bench [pages]          (default 1000)

#include <QApplication>
#include <QPrinter>
#include <QTextDocument>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "BenchTexts.h"
#include "CPrintPreviewDlg.h"
#include "PreviewCanvas.h"
#include "Rounds.h"
#include "EditorControl.h"
#include "SheetLayout.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"
#include "TextPrinter.h"

namespace {

// The machine is shared: the process's own processor time is the figure
// that does not depend on what else runs; the wall time is shown beside it.
struct Timing {
  double cpu = 0, wall = 0;
};

class Stopwatch {
 public:
  Timing Elapsed() const {
    return {double(std::clock() - cpu_) / CLOCKS_PER_SEC,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count()};
  }

 private:
  std::clock_t cpu_ = std::clock();
  std::chrono::steady_clock::time_point wall_ = std::chrono::steady_clock::now();
};

// The pages of a PDF as Qt writes it: one "/Type /Page" object each.
int PdfPages(const std::string& path) {
  std::string pdf = ReadFileBytes(path);
  int pages = 0;
  for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
    pages += pdf.compare(at, 12, "/Type /Pages") != 0;
  return pages;
}

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

Timing EditorPrint(const std::string& shiftJis, int pages, const TempDir& dir, int* printed) {
  EditorControl control;
  control.SetDefaultFormat(Gothic12());
  control.SetShiftJisText(shiftJis);
  QPrinter printer(QPrinter::HighResolution);
  PdfOn(printer, dir.File("editor.pdf"), pages);
  Stopwatch watch;
  *printed = TextPrinter(control, SheetLayout::ForPrinter(printer, kMarginTwips)).Print(printer);
  return watch.Elapsed();
}

Timing TextDocumentPrint(const std::string& shiftJis, const TempDir& dir, int* printed) {
  QTextDocument document;
  QFont font(Gothic12().face);
  font.setPointSize(12);
  document.setDefaultFont(font);
  document.setPlainText(QString::fromStdString(kanji::ShiftJisCodec::Decode(shiftJis)));
  QPrinter printer(QPrinter::HighResolution);
  PdfOn(printer, dir.File("document.pdf"), 0);
  printer.setPageMargins(QMarginsF(54, 54, 54, 54), QPageLayout::Point);
  Stopwatch watch;
  document.print(&printer);
  Timing timing = watch.Elapsed();
  *printed = PdfPages(dir.File("document.pdf"));
  return timing;
}

// Seconds from the preview's command to its first page on the screen: the
// dialog made, shown, and its paper painted once.
double PreviewFirstPage(const EditorControl& control) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  Stopwatch watch;
  CPrintPreviewDlg dialog(control, SheetLayout::ForPrinter(printer, kMarginTwips), 1);
  double seconds = -1;
  QObject::connect(dialog.Canvas(), &PreviewCanvas::Painted, [&] {
    if (seconds < 0) seconds = watch.Elapsed().wall;
  });
  dialog.show();
  while (seconds < 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return seconds;
}

void BenchPreview(int pages) {
  EditorControl longText, shortText;
  for (EditorControl* control : {&longText, &shortText}) control->SetDefaultFormat(Gothic12());
  longText.SetShiftJisText(ProseFor(pages));
  shortText.SetShiftJisText(ProseFor(3));
  std::vector<double> seconds = bench::AlternatingMedians({
      [&] { return PreviewFirstPage(shortText); },
      [&] { return PreviewFirstPage(longText); },
  });
  constexpr double kTargetSeconds = 0.5, kTargetRatio = 1.5;
  const double ratio = seconds[1] / seconds[0];
  std::printf("Print preview, from the command to the first page painted (medians of %d alternating rounds)\n",
              bench::kRounds);
  std::printf("  %-36s %8.3f s\n", "3 pages", seconds[0]);
  std::printf("  %-36s %8.3f s (%.2fx the 3 pages)\n", (std::to_string(pages) + " pages").c_str(), seconds[1], ratio);
  const bool met = seconds[1] <= kTargetSeconds && ratio <= kTargetRatio;
  std::printf("  %-5s %d pages' first page within %.1f s and %.1fx the 3 pages'\n", met ? "met" : "MISS", pages,
              kTargetSeconds, kTargetRatio);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int pages = argc > 1 ? std::atoi(argv[1]) : 1000;
  TempDir dir;
  std::string prose = ProseFor(pages);
  int editorPages = 0, documentPages = 0;
  Timing editor = EditorPrint(prose, pages, dir, &editorPages);
  Timing document = TextDocumentPrint(prose.substr(0, prose.size() / 10), dir, &documentPages);
  double editorRate = editorPages / editor.cpu, documentRate = documentPages / document.cpu;
  std::printf("Printing Japanese prose to PDF (A4, 12 pt, 0.75 in margins), pages per second of processor time\n");
  std::printf("  %-36s %6d pages %8.1f pages/s (%.1f by the wall clock)\n", "editor's print layout", editorPages,
              editorRate, editorPages / editor.wall);
  std::printf("  %-36s %6d pages %8.1f pages/s (the editor's %.2fx)\n", "toolkit's text document printing",
              documentPages, documentRate, editorRate / documentRate);
  bool met = editorPages == pages && editorRate >= kTargetPagesPerSecond;
  std::printf("  %-5s %d pages at %.0f pages/s or more (%.1f)\n", met ? "met" : "MISS", pages, kTargetPagesPerSecond,
              editorRate);
  BenchPreview(pages);
  return 0;
}
