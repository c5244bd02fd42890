// The editing commands on large documents, each figure beside a peer in the
// same run, in alternating rounds (medians printed): the line-ending replacement of a 100 MB document through the
// command (the control's text out, converted, and back in) against
// unix2dos(1) on the same bytes, and the auto-indent check made after each
// keystroke on a 100 MB document against the same on a 1 KB one, and a
// paste of the whole text against showing it opened.
//
// usage: editing_bench [megabytes [line-ends|auto-indent|paste]]   (default 100, every row)

#include <QApplication>
#include <QClipboard>
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
#include "ShiftJisCodec.h"
#include "Rounds.h"
#include "TempDir.h"

namespace {

using bench::Clock;
using bench::SecondsSince;
using bench::TimeCommand;

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
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  CKb_zeva3View view(profile);
  platform::SetDialogHandler([](QDialog& dialog) {
    dynamic_cast<CLineEndDlg&>(dialog).OkButton()->click();  // CR+LF, as it opens
    return dialog.result();
  });
  bool right = true;
  std::vector<double> seconds = bench::AlternatingMedians({
      [&] { return TimeCommand("unix2dos -q -f -n '" + file + "' '" + dir.File("crlf.txt") + "'"); },
      [&] {
        view.ShowDocument(lf, {});  // untimed: each round replaces the same LF text
        double command = bench::TimeSeconds([&] { view.OnCommand(ids::kLineEndReplacement); });
        right = right && view.TextForSave(nullptr) == ReadFileBytes(dir.File("crlf.txt"));
        return command;
      },
  });
  platform::SetDialogHandler({});
  double unix2dos = seconds[0], command = seconds[1];
  std::printf("line ends LF to CR LF, %zu MB: %.3f s (unix2dos: %.3f s, %.2fx; medians of %d alternating rounds)%s\n",
              megabytes, command, unix2dos, command / unix2dos, bench::kRounds, right ? "" : " WRONG RESULT");
  Report(right && command <= 3 * unix2dos, "line-ending replacement within 3x unix2dos");
}

// The auto-indent check after a line break typed in the middle of the
// text, at the end of an indented line, on a control of its own.
class IndentCheck {
 public:
  explicit IndentCheck(std::size_t bytes)
      : m_profile(m_dir.File("Kb_zeva3.ini")), m_indent(m_profile, m_control, m_prevTextLength) {
    m_profile.WriteProfileInt("Config", "Indent", 1);
    m_control.SetShiftJisText(bench::JapaneseShiftJis(bytes));
    m_prevTextLength = m_control.TextLength();
    long middle = m_control.LineStart(m_control.LineCount() / 2);
    m_control.SetSelection(middle, middle);
    m_control.ReplaceSelection(QStringLiteral("    indented"));
  }

  // Median microseconds of the check over `keys` keystrokes.
  double MedianMicroseconds(int keys) {
    std::vector<double> times;
    for (int i = 0; i < keys; ++i) {
      m_control.ReplaceSelection(QStringLiteral("\r\n"));  // the keystroke, untimed
      auto start = Clock::now();
      m_indent.Check();
      times.push_back(SecondsSince(start) * 1e6);
    }
    return bench::Median(times);
  }

 private:
  TempDir m_dir;
  ProfileFile m_profile;
  EditorControl m_control;
  long m_prevTextLength = 0;
  AutoIndent m_indent;
};

void BenchAutoIndent(std::size_t megabytes) {
  IndentCheck small(1000), large(megabytes * 1000 * 1000);
  std::vector<double> us = bench::AlternatingMedians({[&] { return small.MedianMicroseconds(400); },
                                                      [&] { return large.MedianMicroseconds(400); }});
  std::printf("auto-indent check per keystroke: %.1f us on %zu MB (on 1 KB: %.1f us, %.2fx; medians of %d alternating "
              "rounds of 400 keystrokes)\n",
              us[1], megabytes, us[0], us[1] / us[0], bench::kRounds);
  Report(us[1] <= 1.5 * us[0], "auto-indent check on the large text within 1.5x of 1 KB");
}

// A paste of the whole text from the clipboard (LF line breaks, as other
// programs give them) into a CR LF document: each line break made the
// ending Enter inserts, against showing the same text as an opened file.
void BenchPaste(std::size_t megabytes) {
  TempDir dir;
  const std::string shiftJis = bench::JapaneseShiftJis(megabytes * 1000 * 1000);
  const QString pasted =
      QString::fromStdString(kanji::ShiftJisCodec::Decode(kanji::ConvertLineEnds(shiftJis, 2)));
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  CKb_zeva3View view(profile);
  QApplication::clipboard()->setText(pasted);
  bool right = true;
  std::vector<double> seconds = bench::AlternatingMedians({
      [&] { return bench::TimeSeconds([&] { view.ShowDocument(shiftJis, {}); }); },
      [&] {
        view.ShowDocument("\r\n", {});  // untimed: an empty CR LF document each round
        view.MakeWritable();
        double paste = bench::TimeSeconds([&] { view.OnCommand(ids::kPaste); });
        right = right && view.Control().TextLength() > static_cast<long>(shiftJis.size());
        return paste;
      },
  });
  double open = seconds[0], paste = seconds[1];
  std::printf("paste of %zu MB with LF into a CR LF text: %.3f s (showing it opened: %.3f s, %.2fx; medians of %d "
              "alternating rounds)%s\n",
              megabytes, paste, open, paste / open, bench::kRounds, right ? "" : " WRONG RESULT");
  Report(right && paste <= 2 * open, "paste within 2x the open of the same text");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  std::printf("Editing commands on %zu MB of Japanese text (ratios to peers in this run)\n", megabytes);
  // A second argument names one row to run: line-ends, auto-indent or paste.
  const std::string only = argc > 2 ? argv[2] : "";
  if (only.empty() || only == "line-ends") BenchLineEnds(megabytes);
  if (only.empty() || only == "auto-indent") BenchAutoIndent(megabytes);
  if (only.empty() || only == "paste") BenchPaste(megabytes);
  std::printf("%d target(s) missed\n", missed);
  return 0;
}
