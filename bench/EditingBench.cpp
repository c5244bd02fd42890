// The editing commands on large documents, each figure beside a peer in the
// same run: the line-ending replacement of a 100 MB document through the
// command (the control's text out, converted, and back in) against
// unix2dos(1) on the same bytes, and the auto-indent check made after each
// keystroke on a 100 MB document against the same on a 1 KB one.
//
// usage: editing_bench [megabytes]          (default 100)

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "AutoIndent.h"
#include "BenchTexts.h"
#include "CKb_zeva3View.h"
#include "CLineEndDlg.h"
#include "CommandIds.h"
#include "KanjiText.h"
#include "ModalSeam.h"
#include "ProfileFile.h"
#include "TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double TimeCommand(const std::string& command) {
  auto start = Clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return Seconds(start);
}

int missed = 0;

void Report(bool met, const char* what) {
  std::printf("  %-5s %s\n", met ? "met" : "MISS", what);
  missed += !met;
}

// LF to CR LF, the direction unix2dos goes.
void BenchLineEnds(std::size_t megabytes) {
  TempDir dir;
  std::string lf = kanji::ConvertLineEnds(bench::JapaneseShiftJis(megabytes * 1000 * 1000), 2);
  std::string file = dir.File("lf.txt");
  WriteFileBytes(file, lf);
  double unix2dos = TimeCommand("unix2dos -q -f -n '" + file + "' '" + dir.File("crlf.txt") + "'");
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  CKb_zeva3View view(profile);
  view.ShowDocument(lf, {});
  platform::SetDialogHandler([](QDialog& dialog) {
    dynamic_cast<CLineEndDlg&>(dialog).OkButton()->click();  // CR+LF, as it opens
    return dialog.result();
  });
  auto start = Clock::now();
  view.OnCommand(ids::kLineEndReplacement);
  double command = Seconds(start);
  platform::SetDialogHandler({});
  bool right = view.TextForSave(nullptr) == ReadFileBytes(dir.File("crlf.txt"));
  std::printf("line ends LF to CR LF, %zu MB: %.3f s (unix2dos: %.3f s, %.2fx)%s\n", megabytes, command, unix2dos,
              command / unix2dos, right ? "" : " WRONG RESULT");
  Report(right && command <= 3 * unix2dos, "line-ending replacement within 3x unix2dos");
}

// Median microseconds of the check after a line break typed in the middle
// of the text, at the end of an indented line.
double IndentCheckMicroseconds(std::size_t bytes) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  profile.WriteProfileInt("Config", "Indent", 1);
  EditorControl control;
  long prevTextLength = 0;
  AutoIndent indent(profile, control, prevTextLength);
  control.SetShiftJisText(bench::JapaneseShiftJis(bytes));
  prevTextLength = control.TextLength();
  long middle = control.LineStart(control.LineCount() / 2);
  control.SetSelection(middle, middle);
  control.ReplaceSelection(QStringLiteral("    indented"));
  constexpr int kKeys = 2000;
  std::vector<double> times;
  for (int i = 0; i < kKeys; ++i) {
    control.ReplaceSelection(QStringLiteral("\r\n"));  // the keystroke, untimed
    auto start = Clock::now();
    indent.Check();
    times.push_back(Seconds(start) * 1e6);
  }
  std::nth_element(times.begin(), times.begin() + kKeys / 2, times.end());
  return times[kKeys / 2];
}

void BenchAutoIndent(std::size_t megabytes) {
  double small = IndentCheckMicroseconds(1000);
  double large = IndentCheckMicroseconds(megabytes * 1000 * 1000);
  std::printf("auto-indent check per keystroke: %.1f us on %zu MB (on 1 KB: %.1f us, %.2fx)\n", large, megabytes, small,
              large / small);
  Report(large <= 1.5 * small, "auto-indent check on the large text within 1.5x of 1 KB");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  std::printf("Editing commands on %zu MB of Japanese text (ratios to peers in this run)\n", megabytes);
  BenchLineEnds(megabytes);
  BenchAutoIndent(megabytes);
  std::printf("%d target(s) missed\n", missed);
  return 0;
}
