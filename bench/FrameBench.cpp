// The main window: start-up to the first painted window with no file,
// beside a bare main window with the same menus built, in the same run;
// and one status-bar refresh on a large document.
//
// usage: frame_bench [megabytes]   (default 100)

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchTexts.h"
#include "CKb_zeva3App.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "MenuLayout.h"
#include "StartUp.h"
#include "TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// One window in this process: built, shown and painted, then the process
// ends. The parent times whole processes, so start-up costs of every kind
// (libraries, fonts, settings) are in the figure.
int PaintOneWindow(CKb_zeva3App& app, bool editor) {
  std::unique_ptr<QMainWindow> window;
  if (editor) {
    int exitCode = 0;
    window = StartEditor(app, {}, &exitCode);
  } else {
    window = std::make_unique<QMainWindow>();
    for (const res::Menu& menuLayout : res::MenuBar()) {
      QMenu* menu = window->menuBar()->addMenu(QString::fromUtf8(menuLayout.title));
      for (const res::MenuItem& item : menuLayout.items) {
        if (item.id == 0) menu->addSeparator();
        else menu->addAction(QString::fromUtf8(item.text));
      }
    }
    window->resize(640, 480);
  }
  window->show();
  window->repaint();
  return 0;
}

double ProcessMs(const std::string& self, const char* mode) {
  auto start = Clock::now();
  if (std::system(("'" + self + "' " + mode + " 2>/dev/null").c_str()) != 0) std::fprintf(stderr, "%s failed\n", mode);
  return Milliseconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TempDir dir;
  std::string settings = dir.File("Kb_zeva3.ini");
  setenv("KB_ZEVA3_INI", settings.c_str(), 1);
  CKb_zeva3App app(argc, argv);
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--bare-window" || mode == "--editor-window") return PaintOneWindow(app, mode == "--editor-window");
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;

  std::string self = QCoreApplication::applicationFilePath().toStdString();
  ProcessMs(self, "--bare-window");  // warms the disk cache: not counted
  std::vector<double> bare, editor;
  for (int i = 0; i < 9; ++i) {
    bare.push_back(ProcessMs(self, "--bare-window"));
    editor.push_back(ProcessMs(self, "--editor-window"));
  }
  double bareMs = Median(bare), editorMs = Median(editor);
  std::printf("Process start to the first painted window: %.1f ms (bare main window with the same menus: %.1f ms, %.2fx)\n",
              editorMs, bareMs, editorMs / bareMs);
  std::printf("  %-5s start-up within 1.5x the bare window\n", editorMs <= 1.5 * bareMs ? "met" : "MISS");

  int exitCode = 0;
  std::unique_ptr<CMainFrame> frame = StartEditor(app, {}, &exitCode);
  frame->show();
  frame->View().ShowDocument(bench::JapaneseShiftJis(megabytes * 1000 * 1000), {});
  frame->View().Control().SetSelection(frame->View().Control().TextLength(), frame->View().Control().TextLength());
  constexpr int kRefreshes = 2000;
  auto start = Clock::now();
  for (int i = 0; i < kRefreshes; ++i) frame->UpdateIdle();
  double refreshMs = Milliseconds(start) / kRefreshes;
  std::printf("One status-bar refresh on %zu MB, caret at the end: %.4f ms\n", megabytes, refreshMs);
  std::printf("  %-5s refresh under 0.1 ms\n", refreshMs < 0.1 ? "met" : "MISS");
  return 0;
}
