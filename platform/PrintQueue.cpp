#include "PrintQueue.h"

#include <cups/cups.h>

#include <QByteArray>

namespace platform {

namespace {

// The scheduler the environment names now: the library keeps the first one
// it was asked about, but a test (or a user) may have pointed elsewhere since.
void FollowEnvironment() { cupsSetServer(nullptr); }

bool SchedulerAnswers() {
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
  if (!http) return false;
  httpClose(http);
  return true;
}

const char* SidesKeyword(PrintJobOptions::Sides sides) {
  switch (sides) {
    case PrintJobOptions::Sides::LongEdge: return "two-sided-long-edge";
    case PrintJobOptions::Sides::ShortEdge: return "two-sided-short-edge";
    case PrintJobOptions::Sides::OneSided: break;
  }
  return "one-sided";
}

}  // namespace

PrinterLookup PrintQueue::Find(const QString& name) {
  FollowEnvironment();
  if (!SchedulerAnswers()) return {PrinterLookup::Result::NoScheduler, {}};
  QByteArray wanted = name.toUtf8();
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.isEmpty() ? nullptr : wanted.constData(), nullptr);
  if (!dest) return {name.isEmpty() ? PrinterLookup::Result::NoDefault : PrinterLookup::Result::Unknown, {}};
  PrinterLookup found{PrinterLookup::Result::Found, QString::fromUtf8(dest->name)};
  cupsFreeDests(1, dest);
  return found;
}

PrintJobResult PrintQueue::Submit(const QString& name, const QString& pdfPath, const QString& title,
                                  const PrintJobOptions& options) {
  cups_option_t* cupsOptions = nullptr;
  int count = 0;
  count = cupsAddOption("document-format", "application/pdf", count, &cupsOptions);
  count = cupsAddOption("copies", QByteArray::number(options.copies).constData(), count, &cupsOptions);
  count = cupsAddOption("multiple-document-handling",
                        options.collate ? "separate-documents-collated-copies" : "separate-documents-uncollated-copies",
                        count, &cupsOptions);
  count = cupsAddOption("sides", SidesKeyword(options.sides), count, &cupsOptions);
  int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, name.toUtf8().constData(), pdfPath.toLocal8Bit().constData(),
                           title.toUtf8().constData(), count, cupsOptions);
  cupsFreeOptions(count, cupsOptions);
  if (job == 0) return {0, QString::fromUtf8(cupsLastErrorString())};
  return {job, {}};
}

}  // namespace platform
