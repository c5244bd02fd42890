#pragma once

// The desktop's print queues: the print scheduler the environment names
// (CUPS_SERVER, the client configuration, or the local default). A queue is
// looked up before anything is laid out, and a finished PDF is handed to it
// as one job; every failure comes back as what to tell the user, never as
// output sent nowhere.

#include <QString>

namespace platform {

struct PrinterLookup {
  enum class Result { Found, NoScheduler, NoDefault, Unknown };
  Result result = Result::NoScheduler;
  QString name;  // the queue found
};

struct PrintJobOptions {
  int copies = 1;
  bool collate = true;
  enum class Sides { OneSided, LongEdge, ShortEdge } sides = Sides::OneSided;
};

struct PrintJobResult {
  int jobId = 0;  // 0 when the job was refused
  QString error;  // the scheduler's reason when it was
};

class PrintQueue {
 public:
  // `name` empty: the default queue.
  static PrinterLookup Find(const QString& name);
  // Hands the PDF file at `pdfPath` to queue `name` as one job.
  static PrintJobResult Submit(const QString& name, const QString& pdfPath, const QString& title,
                               const PrintJobOptions& options);
};

}  // namespace platform
