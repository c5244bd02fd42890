// Find and replace on a large document, each figure beside a peer measured
// in the same run, in alternating rounds (medians printed): finding a string that stands only at the end of the
// text against grep -c of the same string on the file, and replacing
// 100,000 matches at once against loading the file.
//
// usage: find_bench [megabytes]          (default 100)

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchTexts.h"
#include "CFindReplaceDlg.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "ProfileFile.h"
#include "Rounds.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"
#include "TextFinder.h"

namespace {

using bench::Clock;
using bench::SecondsSince;
using bench::TimeCommand;

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

int missed = 0;
void Report(bool met, const char* what) {
  std::printf("  %-5s %s\n", met ? "met" : "MISS", what);
  missed += !met;
}

const std::string kEndMark = "文書の終わりの目印";
const std::string kTarget = "置換の対象";

// Japanese text with `count` copies of kTarget, one at the start of every
// ninth line while they last.
std::string WithTargets(std::string text, int count) {
  std::string target = kanji::ShiftJisCodec::Encode(kTarget).bytes;
  std::string out;
  out.reserve(text.size() + target.size() * count);
  int line = 0, placed = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    end = end == std::string::npos ? text.size() : end + 2;
    if (line++ % 9 == 0 && placed < count) {
      out += target;
      ++placed;
    }
    out.append(text, start, end - start);
    start = end;
  }
  if (placed < count) std::fprintf(stderr, "only %d targets placed\n", placed);
  return out;
}

void BenchFindAtTheEnd(const std::string& dir, const std::string& japanese) {
  std::string file = dir + "/end.txt";
  std::string mark = kanji::ShiftJisCodec::Encode(kEndMark).bytes;
  WriteFile(file, japanese + mark + "\r\n");
  WriteFile(dir + "/pattern", mark + "\n");
  auto grep = [&] { return TimeCommand("LC_ALL=C grep -c -F -f '" + dir + "/pattern' '" + file + "' >/dev/null"); };

  ProfileFile profile(dir + "/Kb_zeva3.ini");
  CKb_zeva3View view(profile);
  CKb_zeva3Doc doc(profile, view);
  doc.OpenDocumentFile(QString::fromStdString(file));
  view.OnCommand(ids::kFind);
  CFindReplaceDlg& dialog = *view.Finder().Dialog();
  dialog.FindEdit()->setText(QString::fromStdString(kEndMark));
  bool found = true;
  auto find = [&](bool matchCase) {
    return [&, matchCase] {
      dialog.findChild<QAbstractButton*>(QStringLiteral("matchCase"))->setChecked(matchCase);
      view.Control().SetSelection(0, 0);
      auto start = Clock::now();
      found = view.Finder().FindNext(true) && found;
      return SecondsSince(start);
    };
  };
  std::vector<double> seconds = bench::AlternatingMedians({grep, find(true), find(false)});
  double grepSeconds = seconds[0];
  std::printf("find the string at the end of %.0f MB (grep -c: %.3f s; medians of %d alternating rounds):\n",
              japanese.size() / 1e6, grepSeconds, bench::kRounds);
  for (bool matchCase : {true, false}) {
    double s = seconds[matchCase ? 1 : 2];
    std::printf("  %-20s %.3f s (%.2fx)%s\n", matchCase ? "case matters:" : "case blind (default):", s,
                s / grepSeconds, found ? "" : " NOT FOUND");
    Report(found && s <= 2 * grepSeconds,
           matchCase ? "find (case matters) within 2x grep -c" : "find (case blind) within 2x grep -c");
  }
}

void BenchReplaceAll(const std::string& dir, const std::string& japanese) {
  constexpr int kMatches = 100000;
  std::string file = dir + "/targets.txt";
  WriteFile(file, WithTargets(japanese, kMatches));
  ProfileFile profile(dir + "/Kb_zeva3.ini");
  CKb_zeva3View view(profile);
  CKb_zeva3Doc doc(profile, view);
  view.resize(800, 600);
  view.show();
  int replaced = 0;
  // A round's load is the next round's document: each replacement works on
  // the file as loaded, and the load is timed on the same file.
  std::vector<double> seconds = bench::AlternatingMedians({
      [&] {
        auto start = Clock::now();
        doc.OpenDocumentFile(QString::fromStdString(file));
        view.Control().viewport()->repaint();
        return SecondsSince(start);
      },
      [&] {
        view.OnCommand(ids::kReplace);
        CFindReplaceDlg& dialog = *view.Finder().Dialog();
        dialog.FindEdit()->setText(QString::fromStdString(kTarget));
        dialog.ReplaceEdit()->setText(QStringLiteral("置き換えた文字列"));
        auto start = Clock::now();
        replaced = view.Finder().ReplaceAll();
        view.Control().viewport()->repaint();
        double s = SecondsSince(start);
        view.Finder().Dialog()->hide();
        view.ClearModified();  // the next load asks nothing
        return s;
      },
  });
  double loadSeconds = seconds[0], replaceSeconds = seconds[1];
  std::printf("replace all %d matches in %.0f MB: %.3f s (load: %.3f s, %.2fx; medians of %d alternating rounds)\n",
              replaced, japanese.size() / 1e6, replaceSeconds, loadSeconds, replaceSeconds / loadSeconds, bench::kRounds);
  Report(replaced == kMatches && replaceSeconds < 2 * loadSeconds, "replace all of 100,000 under 2x the load");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  TempDir dir;
  std::string japanese = bench::JapaneseShiftJis(megabytes * 1000 * 1000);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::printf("Find and replace on %zu MB of Japanese text (ratios to peers in this run)\n", megabytes);
  BenchFindAtTheEnd(dir.Path().string(), japanese);
  BenchReplaceAll(dir.Path().string(), japanese);
  std::printf("%d target(s) missed\n", missed);
  return 0;
}
