// The editor on large files, each figure beside a peer measured in the same
// run, in alternating rounds (medians printed): opening a Shift-JIS file in
// the editor, from the process's start to the first painted window, against
// iconv(1) turning the same file into UTF-8 (a whole process too); the peak
// memory of that open against the file's size; the cost of one keystroke
// at the start, middle and end of 1, 20 and 100 MB documents, and with a
// screen reader listening against without one; and saving as EUC against
// iconv(1).
//
// usage: editor_bench [megabytes]          (default 100)
//        editor_bench --open FILE          (one open, in its own process)


#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchTexts.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "EditorAccessible.h"
#include "EditorProcess.h"
#include "KanjiText.h"
#include "ProfileFile.h"
#include "Rounds.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"

namespace {

using bench::Clock;
using bench::SecondsSince;
using bench::TimeCommand;
using bench::WriteFile;

// One open in this process, as the user starts the editor with a file: the
// parent times from the start of the process to the line this prints after
// the first paint of the text (peak RSS, MB).
int OpenOnce(int argc, char** argv) {
  TempDir dir;
  return bench::WithEditor(argc, argv, dir.File("Kb_zeva3.ini"), argv[2], [](CKb_zeva3App& app, CMainFrame& frame) {
    return bench::ShowUntilFirstPaint(app, frame, [] { std::printf("%.0f\n", bench::PeakRssMegabytes()); });
  });
}

// Seconds from starting `command` to the first line it prints; the line is read into `value`.
double SecondsToFirstLine(const std::string& command, double* value) {
  auto start = Clock::now();
  FILE* child = popen(command.c_str(), "r");
  if (!child || std::fscanf(child, "%lf", value) != 1) std::fprintf(stderr, "failed: %s\n", command.c_str());
  double seconds = SecondsSince(start);
  if (child) pclose(child);
  return seconds;
}

struct Check {
  bool met;
  std::string what;
};
std::vector<Check> checks;

void Report(bool met, const std::string& what) {
  std::printf("  %-5s %s\n", met ? "met" : "MISS", what.c_str());
  checks.push_back({met, what});
}

void BenchOpen(const std::string& self, const std::string& file, std::size_t bytes) {
  double peak = 0;
  std::vector<double> seconds = bench::AlternatingMedians({
      [&] { return TimeCommand("iconv -f CP932 -t UTF-8 '" + file + "' > /dev/null"); },
      [&] { return SecondsToFirstLine("'" + self + "' --open '" + file + "' 2>/dev/null", &peak); },
  });
  double iconvSeconds = seconds[0], openSeconds = seconds[1];
  double fileMb = static_cast<double>(bytes) / (1024.0 * 1024.0);
  std::printf("open %.0f MB, process start to the first painted text: %.3f s (iconv to UTF-8, whole process: %.3f s, "
              "%.2fx; medians of %d alternating rounds); peak RSS %.0f MB (%.2fx the file)\n",
              fileMb, openSeconds, iconvSeconds, openSeconds / iconvSeconds, bench::kRounds, peak, peak / fileMb);
  Report(openSeconds <= 1.2 * iconvSeconds, "open within 1.2x iconv");
  Report(peak <= 2.5 * fileMb, "peak RSS within 2.5x the file");
}

// Average milliseconds of one keystroke (insert + repaint) at `position`.
double KeystrokeMs(CKb_zeva3View& view, long position) {
  EditorControl& control = view.Control();
  control.SetSelection(position, position);
  control.viewport()->repaint();
  constexpr int kKeys = 40;
  auto start = Clock::now();
  for (int i = 0; i < kKeys; ++i) {
    QTest::keyClick(&control, Qt::Key_A);
    control.viewport()->repaint();
  }
  return SecondsSince(start) * 1000 / kKeys;
}

// The three documents are open at once so that the rounds alternate
// between them.
void BenchKeystrokes(std::size_t largest) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  profile.WriteProfileInt("Config", "WordWrap", 0);
  std::vector<std::unique_ptr<CKb_zeva3View>> views;
  std::vector<std::size_t> sizes = {1, 20, largest};
  std::vector<std::function<double()>> contenders;
  for (std::size_t megabytes : sizes) {
    auto& view = *views.emplace_back(std::make_unique<CKb_zeva3View>(profile));
    view.resize(800, 600);
    view.show();
    view.ShowDocument(bench::JapaneseShiftJis(megabytes * 1000 * 1000), {});
    view.MakeWritable();
    EditorControl& control = view.Control();
    contenders.push_back([&view] { return KeystrokeMs(view, 0); });
    contenders.push_back([&view, &control] {
      return KeystrokeMs(view, control.LineStart(control.LineFromPosition(control.TextLength() / 2)));
    });
    contenders.push_back([&view, &control] { return KeystrokeMs(view, control.TextLength()); });
  }
  std::vector<double> ms = bench::AlternatingMedians(contenders);
  std::printf("keystroke (insert + repaint, wrap off), ms, medians of %d alternating rounds:\n%8s %8s %8s %8s\n",
              bench::kRounds, "MB", "start", "middle", "end");
  for (std::size_t i = 0; i < sizes.size(); ++i)
    std::printf("%8zu %8.3f %8.3f %8.3f\n", sizes[i], ms[3 * i], ms[3 * i + 1], ms[3 * i + 2]);
  Report(ms.back() <= 3 * ms[0], "keystroke at the end of the largest within 3x the start of 1 MB");
}

// What a screen reader asks after each caret move: where the caret is and
// the line it is on.
void AskAsAReader(EditorControl& control) {
  QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&control)->textInterface();
  int start = 0, end = 0;
  text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
}

// The same document in two views: one no reader has asked about, one whose
// text a reader reads, told of every edit and caret move by a stand-in for
// Qt's bridge to the accessibility bus that asks as the reader would.
void BenchKeystrokesWithReader(std::size_t megabytes, bool wrap) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  profile.WriteProfileInt("Config", "WordWrap", wrap ? 1 : 0);
  std::string text = bench::JapaneseShiftJis(megabytes * 1000 * 1000);
  CKb_zeva3View quiet(profile), read(profile);
  for (CKb_zeva3View* view : {&quiet, &read}) {
    view->resize(800, 600);
    view->show();
    view->ShowDocument(text, {});
    view->MakeWritable();
  }
  EditorControl& control = read.Control();
  double firstQuestion = bench::TimeSeconds([&] { AskAsAReader(control); });  // counts every line once
  EditorAccessible::SetListener([&control](QAccessibleEvent& event) {
    if (event.type() == QAccessible::TextCaretMoved) AskAsAReader(control);
  });
  auto middle = [](CKb_zeva3View& view) {
    EditorControl& c = view.Control();
    return c.LineStart(c.LineFromPosition(c.TextLength() / 2));
  };
  std::vector<double> ms = bench::AlternatingMedians({
      [&] { return KeystrokeMs(quiet, middle(quiet)); },
      [&] { return KeystrokeMs(read, middle(read)); },
      [&] { return KeystrokeMs(quiet, quiet.Control().TextLength()); },
      [&] { return KeystrokeMs(read, control.TextLength()); },
  });
  EditorAccessible::SetListener({});
  std::printf("keystroke with a screen reader reading the text (events, caret and line asked after each), %zu MB, "
              "wrap %s, ms, medians of %d alternating rounds: middle %.3f (no reader %.3f, %.2fx), end %.3f (no reader "
              "%.3f, %.2fx); the reader's first question %.0f ms\n",
              megabytes, wrap ? "on" : "off", bench::kRounds, ms[1], ms[0], ms[1] / ms[0], ms[3], ms[2], ms[3] / ms[2],
              firstQuestion * 1000);
  Report(ms[1] <= 1.3 * ms[0] && ms[3] <= 1.3 * ms[2],
         std::string("keystroke with a screen reader within 1.3x without one, wrap ") + (wrap ? "on" : "off"));
}

void BenchSaveEuc(const std::string& dir, const std::string& shiftJis) {
  TempDir settingsDir;
  ProfileFile profile(settingsDir.File("Kb_zeva3.ini"));
  CKb_zeva3View view(profile);
  CKb_zeva3Doc doc(profile, view);
  view.ShowDocument(shiftJis, {KanjiCode::ShiftJis, KanjiCode::Euc});
  std::string utf8Path = dir + "/text.utf8";
  WriteFile(utf8Path, std::string(view.Control().Utf8Text()));
  bool ok = true;
  std::vector<double> seconds = bench::AlternatingMedians({
      [&] { return TimeCommand("iconv -f UTF-8 -t EUC-JP '" + utf8Path + "' > '" + dir + "/iconv.euc'"); },
      [&] {
        return bench::TimeSeconds([&] {
          std::string text = view.TextForSave(nullptr);
          ok = WriteFileSafely(QString::fromStdString(dir + "/saved.euc"), EncodeForSave(text, KanjiCode::Euc),
                               nullptr) && ok;
        });
      },
  });
  double iconvSeconds = seconds[0], saveSeconds = seconds[1];
  std::printf("save %.0f MB as EUC: %.3f s (iconv from UTF-8: %.3f s, %.2fx; medians of %d alternating rounds)%s\n",
              shiftJis.size() / 1e6, saveSeconds, iconvSeconds, saveSeconds / iconvSeconds, bench::kRounds,
              ok ? "" : " FAILED");
  Report(ok && saveSeconds <= 2 * iconvSeconds, "save as EUC within 2x iconv");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 3 && std::string(argv[1]) == "--open") return OpenOnce(argc, argv);
  QApplication app(argc, argv);
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  TempDir dir;
  std::string shiftJis = bench::JapaneseShiftJis(megabytes * 1000 * 1000);
  std::string file = dir.File("japanese.txt");
  WriteFile(file, shiftJis);
  std::printf("Editor on %zu MB of Japanese text (ratios to peers in this run)\n", megabytes);
  BenchOpen(std::filesystem::canonical("/proc/self/exe").string(), file, shiftJis.size());
  BenchSaveEuc(dir.Path().string(), shiftJis);
  BenchKeystrokes(megabytes);
  BenchKeystrokesWithReader(megabytes, false);
  BenchKeystrokesWithReader(megabytes, true);
  int missed = 0;
  for (const Check& c : checks) missed += !c.met;
  std::printf("%d target(s) missed\n", missed);
  return 0;
}
