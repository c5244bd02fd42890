#pragma once

// What the benchmarks that run the editor in a process of its own share:
// the parent writes the file and times the child from its start to the
// line the child prints once the text is first painted, as a user sees an
// open.

#include <unistd.h>

#include <QObject>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "CKb_zeva3App.h"
#include "CMainFrame.h"
#include "CKb_zeva3View.h"
#include "StartUp.h"

namespace bench {

inline void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The process's peak resident memory since its start or the last reset.
inline double PeakRssMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  return 0;
}

// Only the peak from here on counts.
inline void ResetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The editor started on `file` as a user starts it, with the settings file
// `settings`: set before the application is made, which looks for its
// settings file when it starts. Calls `run` with the window (not shown
// yet) and returns what it returns; 1 when the editor did not start.
inline int WithEditor(int argc, char** argv, const std::string& settings, const char* file,
                      const std::function<int(CKb_zeva3App&, CMainFrame&)>& run) {
  setenv("KB_ZEVA3_INI", settings.c_str(), 1);
  CKb_zeva3App app(argc, argv);
  int exitCode = 0;
  std::unique_ptr<CMainFrame> frame = StartEditor(app, {QString::fromLocal8Bit(file)}, &exitCode);
  if (!frame) return 1;
  return run(app, *frame);
}

// Shows the window and, once its text is first painted and the paint is
// done, calls `report` (which prints the child's line) and ends the process.
inline int ShowUntilFirstPaint(CKb_zeva3App& app, CMainFrame& frame, std::function<void()> report) {
  class FirstPaint : public QObject {
   public:
    explicit FirstPaint(std::function<void()> report) : m_report(std::move(report)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() == QEvent::Paint && !m_seen) {
        m_seen = true;
        QTimer::singleShot(0, [report = m_report] {
          report();
          std::fflush(stdout);
          _exit(0);
        });
      }
      return QObject::eventFilter(watched, event);
    }

   private:
    std::function<void()> m_report;
    bool m_seen = false;
  };
  FirstPaint firstPaint(std::move(report));
  frame.View().Control().viewport()->installEventFilter(&firstPaint);
  frame.show();
  return app.exec();
}

}  // namespace bench
