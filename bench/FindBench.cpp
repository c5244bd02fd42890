// Find and replace on a large document, each figure beside a peer measured
// in the same run: finding a string that stands only at the end of the
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
#include "ShiftJisCodec.h"
#include "TempDir.h"
#include "TextFinder.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The best of three runs: the file is in the page cache for every peer.
template <class Run>
double Best(Run run) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) best = std::min(best, run());
  return best;
}

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
  double grepSeconds = Best([&] { return TimeCommand("LC_ALL=C grep -c -F -f '" + dir + "/pattern' '" + file + "' >/dev/null"); });

  ProfileFile profile(dir + "/Kb_zeva3.ini");
  CKb_zeva3View view(profile);
  CKb_zeva3Doc doc(profile, view);
  doc.OpenDocumentFile(QString::fromStdString(file));
  view.OnCommand(ids::kFind);
  CFindReplaceDlg& dialog = *view.Finder().Dialog();
  dialog.FindEdit()->setText(QString::fromStdString(kEndMark));
  std::printf("find the string at the end of %.0f MB (grep -c: %.3f s):\n", japanese.size() / 1e6, grepSeconds);
  for (bool matchCase : {true, false}) {
    dialog.findChild<QAbstractButton*>(QStringLiteral("matchCase"))->setChecked(matchCase);
    bool found = true;
    double seconds = Best([&] {
      view.Control().SetSelection(0, 0);
      auto start = Clock::now();
      found = found && view.Finder().FindNext(true);
      return Seconds(start);
    });
    std::printf("  %-20s %.3f s (%.2fx)%s\n", matchCase ? "case matters:" : "case blind (default):", seconds,
                seconds / grepSeconds, found ? "" : " NOT FOUND");
    Report(found && seconds <= 2 * grepSeconds,
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
  double loadSeconds = 1e9, replaceSeconds = 1e9;
  int replaced = 0;
  for (int run = 0; run < 2; ++run) {
    auto start = Clock::now();
    doc.OpenDocumentFile(QString::fromStdString(file));
    view.Control().viewport()->repaint();
    loadSeconds = std::min(loadSeconds, Seconds(start));
    view.OnCommand(ids::kReplace);
    CFindReplaceDlg& dialog = *view.Finder().Dialog();
    dialog.FindEdit()->setText(QString::fromStdString(kTarget));
    dialog.ReplaceEdit()->setText(QStringLiteral("置き換えた文字列"));
    start = Clock::now();
    replaced = view.Finder().ReplaceAll();
    view.Control().viewport()->repaint();
    replaceSeconds = std::min(replaceSeconds, Seconds(start));
    view.Finder().Dialog()->hide();
    view.ClearModified();  // the next load asks nothing
  }
  std::printf("replace all %d matches in %.0f MB: %.3f s (load: %.3f s, %.2fx)\n", replaced, japanese.size() / 1e6,
              replaceSeconds, loadSeconds, replaceSeconds / loadSeconds);
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
