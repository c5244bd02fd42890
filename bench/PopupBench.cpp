// The cycle popup: from the right-button release in the text to the
// painted page (the page is read from the settings file at every release),
// beside Qt showing the same menu, built once and reused, from the release
// of the same button in a plain window of the same size, in the same run:
// both go through the same event delivery.
//
// usage: popup_bench [shows]   (default 300)

#include <QAction>
#include <QMouseEvent>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "CCyclePopup.h"
#include "CKb_zeva3App.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
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

// The page closed without the right button: the next release shows page 1 again.
void Dismiss(QMenu* menu) {
  menu->close();
  QCoreApplication::processEvents();
}

// Shows its menu where the right button is released, as an application
// with a fixed context menu does.
class PlainWindow : public QWidget {
 public:
  QMenu menu{this};

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton) menu.popup(event->globalPosition().toPoint() + QPoint(5, 5));
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TempDir dir;
  std::string settings = dir.File("Kb_zeva3.ini");
  setenv("KB_ZEVA3_INI", settings.c_str(), 1);
  CKb_zeva3App app(argc, argv);
  int shows = argc > 1 ? std::atoi(argv[1]) : 300;

  CMainFrame frame(app.Profile(), &app, &app.RecentFiles());
  frame.Document().OnNewDocument();
  frame.resize(800, 600);
  frame.show();
  if (!QTest::qWaitForWindowExposed(&frame)) return 1;
  QWidget* textArea = frame.View().Control().viewport();
  QPoint at = textArea->mapTo(&frame, QPoint(100, 100));

  PlainWindow plain;
  plain.setGeometry(frame.geometry());
  plain.show();
  if (!QTest::qWaitForWindowExposed(&plain)) return 1;

  std::vector<double> popup, reused;
  for (int i = 0; i < shows; ++i) {
    QTest::mousePress(frame.windowHandle(), Qt::RightButton, {}, at);
    auto start = Clock::now();
    QTest::mouseRelease(frame.windowHandle(), Qt::RightButton, {}, at);
    QMenu* page = frame.CyclePopup().OpenPage();
    if (!page) return 1;
    page->repaint();
    popup.push_back(Milliseconds(start));
    if (i == 0)  // the same items, once
      for (QAction* action : page->actions())
        action->isSeparator() ? plain.menu.addSeparator() : plain.menu.addAction(action->text());
    Dismiss(page);

    QTest::mousePress(plain.windowHandle(), Qt::RightButton, {}, at);
    start = Clock::now();
    QTest::mouseRelease(plain.windowHandle(), Qt::RightButton, {}, at);
    if (!plain.menu.isVisible()) return 1;
    plain.menu.repaint();
    reused.push_back(Milliseconds(start));
    Dismiss(&plain.menu);
  }
  double popupMs = Median(popup), reusedMs = Median(reused);
  std::printf("Right-button release to the painted page 1: %.3f ms (the same menu built once, shown again by a plain window: %.3f ms, %.2fx)\n",
              popupMs, reusedMs, popupMs / reusedMs);
  std::printf("  %-5s within 1.5x the reused menu\n", popupMs <= 1.5 * reusedMs ? "met" : "MISS");
  return 0;
}
