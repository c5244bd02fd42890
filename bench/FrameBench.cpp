// The main window beside a bare QScintilla window with the same menus and
// tool bar, in the same run, in alternating rounds (medians printed):
// start-up to the first fully drawn window with no file, and the CPU time
// spent idle with a 50 ms timer running in both; and one status-bar
// refresh on a large document.
//
// usage: frame_bench [megabytes] [idle seconds]   (default 100, 10)
// The windows are shown in an X server of the bench's own (Xvfb), so the
// window system's round trips are in the figures as they are on a desktop;
// with KB_BENCH_OFFSCREEN=1 in the environment, or without Xvfb, they are
// drawn off screen instead.

#include <sys/resource.h>

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <QToolBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "BenchTexts.h"
#include "CKb_zeva3App.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandTexts.h"
#include "MenuLayout.h"
#include "PrivateXServer.h"
#include "Rounds.h"
#include "StartUp.h"
#include "TempDir.h"
#include "ToolBarIcons.h"

namespace {

using bench::Clock;

// The peer: what a window with the editor's menus, tool bar and editing
// widget costs with none of the editor's own behaviour.
std::unique_ptr<QMainWindow> BareWindow() {
  auto window = std::make_unique<QMainWindow>();
  for (const res::Menu& menuLayout : res::MenuBar()) {
    QMenu* menu = window->menuBar()->addMenu(QString::fromUtf8(menuLayout.title));
    for (const res::MenuItem& item : menuLayout.items) {
      if (item.id == 0) menu->addSeparator();
      else menu->addAction(QString::fromUtf8(item.text));
    }
  }
  QToolBar* toolBar = window->addToolBar(QStringLiteral("bar"));
  toolBar->setIconSize(QSize(16, 16));
  for (int id : res::ToolBarSlots()) {
    if (id == 0) toolBar->addSeparator();
    else toolBar->addAction(ToolBarIcon(id), QString::fromUtf8(std::string(res::CommandToolTip(id)).c_str()));
  }
  window->setCentralWidget(new QsciScintilla);
  window->statusBar()->showMessage(QStringLiteral("bar"));
  window->resize(640, 480);
  // The same 50 ms timer as the editor's view, doing nothing.
  auto* timer = new QTimer(window.get());
  timer->start(CKb_zeva3View::kTimerPeriodMs);
  return window;
}

// The bare window runs in a plain QApplication: the editor's application
// (its settings, interface font and translations) is start-up of the
// editor's, counted in its figure only.
std::unique_ptr<QMainWindow> Window(QApplication& app, bool editor) {
  if (!editor) return BareWindow();
  int exitCode = 0;
  return StartEditor(static_cast<CKb_zeva3App&>(app), {}, &exitCode);
}

// Nanoseconds on the monotonic clock, which parent and child share.
long long MonotonicNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// One window in this process, shown and drawn in full: the window system
// has exposed it, every paint it asked for is done and the server has
// everything drawn. Prints the moment on the monotonic clock: the parent
// counts from before it started the process, so start-up costs of every
// kind (libraries, fonts, settings) are in the figure, the exit is not.
int PaintOneWindow(QApplication& app, bool editor) {
  std::unique_ptr<QMainWindow> window = Window(app, editor);
  window->show();
  // The window is painted as it is exposed; layouts and paints it still
  // asked for then are part of its first full drawing, other work is not.
  while (!window->windowHandle()->isExposed()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  QGuiApplication::sync();
  std::printf("%lld\n", MonotonicNs());
  std::fflush(stdout);
  return 0;
}

double CpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The X server's CPU time so far (0 off screen).
double ServerCpuMilliseconds() {
  int pid = qEnvironmentVariableIntValue("KB_BENCH_XSERVER_PID");
  return pid > 0 ? bench::PrivateXServer::CpuMilliseconds(pid) : 0;
}

// One window shown and left idle for `seconds`; prints the CPU time (ms)
// the process spent while idle, and the X server's in the same time.
int IdleOneWindow(QApplication& app, bool editor, double seconds) {
  std::unique_ptr<QMainWindow> window = Window(app, editor);
  window->show();
  // Settled first: the first paints and layouts are start-up, not idling.
  QTimer::singleShot(300, &app, [] { QCoreApplication::exit(0); });
  app.exec();
  double before = CpuMilliseconds();
  double serverBefore = ServerCpuMilliseconds();
  QTimer::singleShot(static_cast<int>(seconds * 1000), &app, [] { QCoreApplication::exit(0); });
  app.exec();
  std::printf("%.3f %.3f\n", CpuMilliseconds() - before, ServerCpuMilliseconds() - serverBefore);
  return 0;
}

std::string self;
std::string childEnvironment;  // the display the windows go to
bool onXServer = false;

std::string ChildCommand(const char* mode, const std::string& arguments = {}) {
  return childEnvironment + " '" + self + "' " + mode + arguments + " 2>/dev/null";
}

// Process start to the child's fully drawn window, in ms.
double StartUpMs(const char* mode) {
  long long start = MonotonicNs();
  FILE* child = popen(ChildCommand(mode).c_str(), "r");
  long long drawn = 0;
  if (!child || std::fscanf(child, "%lld", &drawn) != 1) std::fprintf(stderr, "%s failed\n", mode);
  if (child) pclose(child);
  return (drawn - start) / 1e6;
}

struct IdleCpu {
  double processMs = -1;
  double serverMs = 0;
};

IdleCpu IdleCpuMs(const char* mode, double seconds) {
  FILE* child = popen(ChildCommand(mode, " " + std::to_string(seconds)).c_str(), "r");
  IdleCpu cpu;
  if (!child || std::fscanf(child, "%lf %lf", &cpu.processMs, &cpu.serverMs) != 2)
    std::fprintf(stderr, "%s failed\n", mode);
  if (child) pclose(child);
  return cpu;
}

int missed = 0;
void Report(bool met, const char* what) {
  std::printf("  %-5s %s\n", met ? "met" : "MISS", what);
  missed += !met;
}

void BenchStartUp() {
  // Warms the disk cache and the editor's first-start work (its settings,
  // the desktop's registration): not counted.
  StartUpMs("--bare-window");
  StartUpMs("--editor-window");
  std::vector<double> ms = bench::AlternatingMedians(
      {[] { return StartUpMs("--bare-window"); }, [] { return StartUpMs("--editor-window"); }}, 7);
  std::printf("Process start to the first fully drawn window: %.1f ms (bare QScintilla window with the same menus and "
              "tool bar: %.1f ms, %.2fx; medians of 7 alternating rounds)\n",
              ms[1], ms[0], ms[1] / ms[0]);
  Report(ms[1] <= 1.3 * ms[0], "start-up within 1.3x the bare window");
}

void BenchIdle(double seconds) {
  std::vector<double> server(2);
  auto contender = [seconds, &server](const char* mode, int index) {
    return [seconds, &server, mode, index] {
      IdleCpu cpu = IdleCpuMs(mode, seconds);
      server[index] += cpu.serverMs / bench::kRounds;
      return cpu.processMs;
    };
  };
  std::vector<double> ms = bench::AlternatingMedians({contender("--bare-idle", 0), contender("--editor-idle", 1)});
  std::printf("CPU time over %.1f s idle: %.1f ms (bare QScintilla window with the same 50 ms timer: %.1f ms, %.2fx; "
              "medians of %d alternating rounds)\n",
              seconds, ms[1], ms[0], ms[0] > 0 ? ms[1] / ms[0] : 0.0, bench::kRounds);
  if (onXServer)
    std::printf("  X server's CPU time meanwhile (mean): %.1f ms beside the editor, %.1f ms beside the bare window\n",
                server[1], server[0]);
  // Below a millisecond a second both are noise.
  Report(ms[1] <= 2 * ms[0] || ms[1] <= seconds, "idle CPU within 2x the bare window");
}

void BenchRefresh(CKb_zeva3App& app, std::size_t megabytes) {
  int exitCode = 0;
  std::unique_ptr<CMainFrame> frame = StartEditor(app, {}, &exitCode);
  frame->show();
  frame->View().ShowDocument(bench::JapaneseShiftJis(megabytes * 1000 * 1000), {});
  frame->View().Control().SetSelection(frame->View().Control().TextLength(), frame->View().Control().TextLength());
  constexpr int kRefreshes = 2000;
  double refreshMs = bench::TimeSeconds([&] {
                       for (int i = 0; i < kRefreshes; ++i) frame->UpdateIdle();
                     }) * 1e3 / kRefreshes;
  std::printf("One status-bar refresh on %zu MB, caret at the end: %.4f ms\n", megabytes, refreshMs);
  Report(refreshMs < 0.1, "refresh under 0.1 ms");
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  bool child = mode.starts_with("--");
  // The parent's own window (the refresh) is drawn off screen; its children
  // go to the display it chose for them.
  std::unique_ptr<bench::PrivateXServer> server;
  if (!child && qgetenv("KB_BENCH_OFFSCREEN") != "1") {
    server = std::make_unique<bench::PrivateXServer>();
    if (server->Display().empty()) server.reset();
  }
  if (!child) {
    onXServer = server != nullptr;
    childEnvironment = server ? "QT_QPA_PLATFORM=xcb DISPLAY=" + server->Display() +
                                    " KB_BENCH_XSERVER_PID=" + std::to_string(server->Pid())
                              : "QT_QPA_PLATFORM=offscreen";
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  TempDir dir;
  std::string settings = dir.File("Kb_zeva3.ini");
  setenv("KB_ZEVA3_INI", settings.c_str(), 1);
  // The editor registers with the desktop at every start: in a home of the
  // bench's own, not the user's.
  if (!child) {
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  }
  if (mode == "--bare-window" || mode == "--bare-idle") {
    QApplication app(argc, argv);
    return mode == "--bare-window" ? PaintOneWindow(app, false)
                                   : IdleOneWindow(app, false, argc > 2 ? std::atof(argv[2]) : 10);
  }
  CKb_zeva3App app(argc, argv);
  if (mode == "--editor-window") return PaintOneWindow(app, true);
  if (mode == "--editor-idle") return IdleOneWindow(app, true, argc > 2 ? std::atof(argv[2]) : 10);
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  double idleSeconds = argc > 2 ? std::atof(argv[2]) : 10;
  self = QCoreApplication::applicationFilePath().toStdString();
  std::printf("Windows drawn %s\n", server ? ("in a private X server (Xvfb " + server->Display() + ")").c_str()
                                           : "off screen");
  BenchStartUp();
  BenchIdle(idleSeconds);
  BenchRefresh(app, megabytes);
  std::printf("%d target(s) missed\n", missed);
  return 0;
}
