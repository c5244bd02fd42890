#include "PrintCommands.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include "CPrintPreviewDlg.h"
#include "EditorControl.h"
#include "ModalSeam.h"
#include "PrintQueue.h"
#include "ProgressWatch.h"
#include "SheetLayout.h"
#include "Strings.h"
#include "TextPrinter.h"
#include "UiText.h"

#include <algorithm>
#include <iterator>

namespace {

platform::PrintJobOptions JobOptions(const QPrinter& settings) {
  platform::PrintJobOptions options;
  options.copies = qMax(1, settings.copyCount());
  options.collate = settings.collateCopies();
  switch (settings.duplex()) {
    case QPrinter::DuplexLongSide: options.sides = platform::PrintJobOptions::Sides::LongEdge; break;
    case QPrinter::DuplexShortSide: options.sides = platform::PrintJobOptions::Sides::ShortEdge; break;
    default: break;
  }
  return options;
}

// The page set-up's pages per sheet and their orders, as its lists give them.
constexpr int kSheetCounts[] = {1, 2, 4, 6, 9, 16};
constexpr const char* kSheetOrders[] = {"lrtb", "lrbt", "rlbt", "rltb", "btlr", "btrl", "tblr", "tbrl"};

QComboBox* CountList(const QPageSetupDialog& dialog) {
  return dialog.findChild<QComboBox*>(QStringLiteral("pagesPerSheetCombo"));
}
QComboBox* OrderList(const QPageSetupDialog& dialog) {
  return dialog.findChild<QComboBox*>(QStringLiteral("pagesPerSheetLayoutCombo"));
}

void ShowSheetPages(QPageSetupDialog& dialog, const SheetPages& pages) {
  QComboBox* counts = CountList(dialog);
  QComboBox* orders = OrderList(dialog);
  if (!counts || !orders) return;
  const int* count = std::find(std::begin(kSheetCounts), std::end(kSheetCounts), pages.count);
  if (count != std::end(kSheetCounts) && count - kSheetCounts < counts->count())
    counts->setCurrentIndex(static_cast<int>(count - kSheetCounts));
  for (int i = 0; i < orders->count() && i < static_cast<int>(std::size(kSheetOrders)); ++i)
    if (pages.order == QLatin1String(kSheetOrders[i])) orders->setCurrentIndex(i);
}

SheetPages SheetPagesShown(const QPageSetupDialog& dialog) {
  SheetPages pages;
  const QComboBox* counts = CountList(dialog);
  const QComboBox* orders = OrderList(dialog);
  // Without the desktop's print system the lists are off: one page a sheet.
  if (!counts || !orders || !counts->isEnabled()) return pages;
  const int count = counts->currentIndex(), order = orders->currentIndex();
  if (count >= 0 && count < static_cast<int>(std::size(kSheetCounts))) pages.count = kSheetCounts[count];
  if (order >= 0 && order < static_cast<int>(std::size(kSheetOrders))) pages.order = QLatin1String(kSheetOrders[order]);
  return pages;
}

}  // namespace

PrintCommands::PrintCommands(const EditorControl& control, const int& marginTwips, QWidget* owner)
    : m_control(control), m_marginTwips(marginTwips), m_owner(owner) {}

int PrintCommands::Lay(QPrinter& target, const QPrinter& settings, const SheetPages& pages, bool* stopped) const {
  const SheetLayout sheets = SheetLayout::ForPrinter(settings, m_marginTwips, pages);
  ProgressWatch progress(m_owner, T("印刷しています..."));
  const int painted = TextPrinter(m_control, sheets).Print(target, &progress);
  *stopped = progress.Cancelled();
  return painted;
}

// The range and the copies of the last print are not the next one's.
void PrintCommands::StartAfresh() {
  m_printer.setPrintRange(QPrinter::AllPages);
  m_printer.setFromTo(0, 0);
  m_printer.setCopyCount(1);
}

void PrintCommands::Tell(const QString& text, bool failure) const {
  platform::ShowMessage(m_owner, {text, T(strings::kAppName),
                                  failure ? platform::MessageIcon::Stop : platform::MessageIcon::Exclamation,
                                  platform::MessageButtons::Ok});
}

void PrintCommands::Print() {
  StartAfresh();
  QPrintDialog dialog(&m_printer, m_owner);
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return;
  // The printer's properties in the dialog have pages per sheet too.
  if (std::optional<SheetPages> chosen = SheetLayout::ChosenInPrintDialog(m_printer)) m_sheetPages = *chosen;
  PrintOn(m_printer);
}

// The printer of the last print or set-up; with none chosen yet, the
// default queue.
void PrintCommands::PrintDirect() {
  StartAfresh();
  if (m_printer.outputFormat() == QPrinter::NativeFormat && !m_printer.printerName().isEmpty()) PrintOn(m_printer);
  else if (!m_printer.outputFileName().isEmpty()) PrintToFile(m_printer);
  else PrintToQueue(QString());
}

// The whole document on the paper and sheets of the printer.
void PrintCommands::Preview(int& pagesShown) {
  CPrintPreviewDlg dialog(m_control, SheetLayout::ForPrinter(m_printer, m_marginTwips, m_sheetPages), pagesShown,
                          m_owner);
  int result = platform::ExecDialog(dialog);
  pagesShown = dialog.PagesShown();
  if (result == CPrintPreviewDlg::kPrintChosen) Print();
}

// Paper, orientation and pages per sheet are the user's; the margins are
// the view's, so the dialog's margin boxes (which printing would ignore)
// are not offered. The toolkit's dialog starts on one page a sheet each
// time, and its print dialog takes the choice off the printer again: the
// choice is kept here, and shown the next time.
void PrintCommands::SetUp() {
  QPageSetupDialog dialog(&m_printer, m_owner);
  for (QDoubleSpinBox* box : dialog.findChildren<QDoubleSpinBox*>())
    if (box->objectName().endsWith(QLatin1String("Margin"))) box->parentWidget()->hide();
  ShowSheetPages(dialog, m_sheetPages);
  if (platform::ExecDialog(dialog) == QDialog::Accepted) m_sheetPages = SheetPagesShown(dialog);
}

bool PrintCommands::PrintOn(QPrinter& chosen) {
  if (chosen.outputFormat() == QPrinter::PdfFormat) {
    // Qt's stand-in when the desktop has no printer: a PDF with no file.
    if (chosen.outputFileName().isEmpty()) {
      Tell(T(strings::kNoPrinter), false);
      return false;
    }
    return PrintToFile(chosen);
  }
  return SendToQueue(chosen.printerName(), chosen, m_sheetPages);
}

bool PrintCommands::PrintToFile(QPrinter& printer) {
  printer.setDocName(m_title);
  bool stopped = false;
  if (Lay(printer, printer, m_sheetPages, &stopped) > 0) return true;
  // Half a document is no print of it.
  if (stopped) QFile::remove(printer.outputFileName());
  else Tell(T(strings::kPrintFileUnwritable).arg(printer.outputFileName()), true);
  return false;
}

bool PrintCommands::PrintToQueue(const QString& queue) {
  platform::PrinterLookup found = platform::PrintQueue::Find(queue);
  switch (found.result) {
    case platform::PrinterLookup::Result::Found: break;
    case platform::PrinterLookup::Result::Unknown:
      Tell(T(strings::kUnknownPrinter).arg(queue), false);
      return false;
    case platform::PrinterLookup::Result::NoScheduler:
    case platform::PrinterLookup::Result::NoDefault:
      Tell(T(strings::kNoPrinter), false);
      return false;
  }
  QPrinter settings(QPrinter::HighResolution);
  settings.setOutputFormat(QPrinter::PdfFormat);
  QPageSize paper = QPrinterInfo::printerInfo(found.name).defaultPageSize();
  settings.setPageSize(paper.isValid() ? paper : m_printer.pageLayout().pageSize());
  settings.setPageOrientation(m_printer.pageLayout().orientation());
  return SendToQueue(found.name, settings, SheetPages());
}

bool PrintCommands::SendToQueue(const QString& queue, const QPrinter& settings, const SheetPages& pages) {
  QTemporaryFile job(QDir::tempPath() + QStringLiteral("/kb_zeva3-print-XXXXXX.pdf"));
  if (!job.open()) {
    Tell(T(strings::kPrintFileUnwritable).arg(QFileInfo(job.fileTemplate()).absolutePath()), true);
    return false;
  }
  job.close();
  QPrinter pdf(QPrinter::HighResolution);
  pdf.setOutputFormat(QPrinter::PdfFormat);
  pdf.setOutputFileName(job.fileName());
  pdf.setPageLayout(settings.pageLayout());
  pdf.setFromTo(settings.fromPage(), settings.toPage());
  pdf.setDocName(m_title);
  bool stopped = false;
  if (Lay(pdf, settings, pages, &stopped) == 0) {
    if (!stopped) Tell(T(strings::kPrintFileUnwritable).arg(job.fileName()), true);
    return false;
  }
  platform::PrintJobResult result = platform::PrintQueue::Submit(queue, job.fileName(), m_title, JobOptions(settings));
  if (result.jobId != 0) return true;
  Tell(T(strings::kPrintFailed).arg(result.error), true);
  return false;
}
