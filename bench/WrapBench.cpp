// Word wrap on large documents, beside the same with wrap off in the same
// run: opening (to the painted window), Ctrl+End right after opening (with
// wrap on the control wraps every line before the end: the whole document),
// a keystroke there, a jump to the middle and a PageDown there, each timed
// to the repainted text.
//
// usage: wrap_bench [megabytes...] [--budget SECONDS]   (default 10 100, budget 20)
// A single step that would take longer than the budget (judged from the
// previous size) is not run: its figure is estimated from the previous
// size, in proportion, and marked so.

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "BenchTexts.h"
#include "CKb_zeva3View.h"
#include "ProfileFile.h"
#include "Rounds.h"
#include "TempDir.h"

namespace {

using Sci = QsciScintillaBase;

struct Steps {
  double open = 0, end = 0, typing = 0, middle = 0, pageDown = 0;
  bool endEstimated = false, pageDownEstimated = false;
};

class Bench {
 public:
  explicit Bench(bool wrap) : m_profile(m_dir.File("Kb_zeva3.ini")) {
    m_profile.WriteProfileInt("Config", "WordWrap", wrap ? 1 : 0);
    m_view = std::make_unique<CKb_zeva3View>(m_profile);
    m_view->resize(800, 600);
    m_view->show();
    QApplication::processEvents();
  }

  EditorControl& Control() { return m_view->Control(); }

  double OpenMs(const std::string& shiftJis) {
    return bench::TimeSeconds([&] {
             m_view->ShowDocument(shiftJis, {});
             Control().viewport()->repaint();
           }) * 1e3;
  }

  double KeyMs(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    return bench::TimeSeconds([&] {
             QTest::keyClick(&Control(), key, modifiers);
             Control().viewport()->repaint();
           }) * 1e3;
  }

  // One keystroke (insert + repaint), averaged over ten.
  double TypingMs() {
    m_view->MakeWritable();
    constexpr int kKeys = 10;
    return bench::TimeSeconds([&] {
             for (int i = 0; i < kKeys; ++i) {
               QTest::keyClick(&Control(), Qt::Key_A);
               Control().viewport()->repaint();
             }
           }) * 1e3 / kKeys;
  }

  double JumpToMiddleMs() {
    return bench::TimeSeconds([&] {
             long middle = Control().LineStart(Control().LineCount() / 2);
             Control().SetSelection(middle, middle);
             Control().viewport()->repaint();
           }) * 1e3;
  }

 private:
  TempDir m_dir;
  ProfileFile m_profile;
  std::unique_ptr<CKb_zeva3View> m_view;
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<std::size_t> sizes;
  double budget = 20;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--budget") == 0 && i + 1 < argc) budget = std::atof(argv[++i]);
    else sizes.push_back(std::strtoul(argv[i], nullptr, 10));
  }
  if (sizes.empty()) sizes = {10, 100};
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::printf("Word wrap on Japanese text, wrap on beside wrap off in the same run (ms, to the repainted text)\n");
  std::printf("%6s %5s %9s %10s %11s %11s %9s\n", "MB", "wrap", "open", "Ctrl+End", "type there", "jump to 50%",
              "PageDown");
  std::map<bool, Steps> previous;
  std::size_t previousSize = 0;
  int missed = 0;
  for (std::size_t megabytes : sizes) {
    std::string text = bench::JapaneseShiftJis(megabytes * 1000 * 1000);
    double scale = previousSize ? static_cast<double>(megabytes) / static_cast<double>(previousSize) : 0;
    std::map<bool, Steps> steps;
    for (bool wrap : {false, true}) {
      Bench bench(wrap);
      Steps& s = steps[wrap];
      s.open = bench.OpenMs(text);
      if (scale && previous[wrap].end * scale > budget * 1e3) {
        s.end = previous[wrap].end * scale;
        s.endEstimated = true;
      } else {
        s.end = bench.KeyMs(Qt::Key_End, Qt::ControlModifier);
        s.typing = bench.TypingMs();
      }
      bench.OpenMs(text);
      s.middle = bench.JumpToMiddleMs();
      if (scale && previous[wrap].pageDown * scale > budget * 1e3) {
        s.pageDown = previous[wrap].pageDown * scale;
        s.pageDownEstimated = true;
      } else {
        s.pageDown = bench.KeyMs(Qt::Key_PageDown);
      }
      std::printf("%6zu %5s %9.1f %9.1f%s %11.2f %11.1f %8.1f%s\n", megabytes, wrap ? "on" : "off", s.open, s.end,
                  s.endEstimated ? "*" : " ", s.typing, s.middle, s.pageDown, s.pageDownEstimated ? "*" : "");
    }
    // Ctrl+End makes the control wrap every line not wrapped yet: right
    // after opening, that is the whole document.
    double wholeWrap = steps[true].end;
    bool wrapMet = wholeWrap <= 3 * steps[false].open;
    bool inputMet = steps[true].end <= 100 && steps[true].pageDown <= 100;
    std::printf("%6zu  whole document wrapped (Ctrl+End after opening): %.0f ms%s, %.1fx the open with wrap off\n",
                megabytes, wholeWrap, steps[true].endEstimated ? " (estimated)" : "", wholeWrap / steps[false].open);
    std::printf("  %-5s whole document wrapped within 3x the open with wrap off\n", wrapMet ? "met" : "MISS");
    std::printf("  %-5s no input blocked over 100 ms with wrap on\n", inputMet ? "met" : "MISS");
    missed += !wrapMet + !inputMet;
    previous = steps;
    previousSize = megabytes;
  }
  std::printf("(* estimated in proportion from the previous size: a run would exceed the %.0f s budget)\n", budget);
  std::printf("%d target(s) missed\n", missed);
  return 0;
}
