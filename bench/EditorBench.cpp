// The editor on large files, each figure beside a peer measured in the same
// run: opening a Shift-JIS file (load step to first paint) against iconv(1)
// turning the same file into UTF-8, the peak memory of that open against
// the file's size, the cost of one keystroke at the start, middle and end of
// 1, 20 and 100 MB documents, and saving as EUC against iconv(1).
//
// usage: editor_bench [megabytes]          (default 100)
//        editor_bench --open FILE          (one open, in its own process)

#include <sys/resource.h>
#include <unistd.h>

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
#include "KanjiText.h"
#include "ProfileFile.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double TimeCommand(const std::string& command) {
  auto start = Clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return Seconds(start);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// One open in this process: prints seconds to first paint and peak RSS (MB).
int OpenOnce(const char* path) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  CKb_zeva3View view(profile);
  CKb_zeva3Doc doc(profile, view);
  view.resize(800, 600);
  view.show();
  QApplication::processEvents();
  auto start = Clock::now();
  if (!doc.OpenDocumentFile(QString::fromLocal8Bit(path))) return 1;
  view.Control().viewport()->repaint();
  double seconds = Seconds(start);
  std::printf("%.3f %.0f\n", seconds, PeakRssMegabytes());
  return 0;
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
  double iconvSeconds = TimeCommand("iconv -f CP932 -t UTF-8 '" + file + "' > /dev/null");
  FILE* child = popen(("'" + self + "' --open '" + file + "'").c_str(), "r");
  double openSeconds = 0, peak = 0;
  if (!child || std::fscanf(child, "%lf %lf", &openSeconds, &peak) != 2) std::fprintf(stderr, "open failed\n");
  if (child) pclose(child);
  double fileMb = static_cast<double>(bytes) / (1024.0 * 1024.0);
  std::printf("open %.0f MB: %.3f s (iconv to UTF-8: %.3f s, %.2fx); peak RSS %.0f MB (%.2fx the file)\n", fileMb,
              openSeconds, iconvSeconds, openSeconds / iconvSeconds, peak, peak / fileMb);
  Report(openSeconds <= 2 * iconvSeconds, "open within 2x iconv");
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
  return Seconds(start) * 1000 / kKeys;
}

void BenchKeystrokes(std::size_t largest) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  profile.WriteProfileInt("Config", "WordWrap", 0);
  CKb_zeva3View view(profile);
  view.resize(800, 600);
  view.show();
  std::printf("keystroke (insert + repaint, wrap off), ms:\n%8s %8s %8s %8s\n", "MB", "start", "middle", "end");
  double firstStart = 0, lastEnd = 0;
  for (std::size_t megabytes : {std::size_t{1}, std::size_t{20}, largest}) {
    view.ShowDocument(bench::JapaneseShiftJis(megabytes * 1000 * 1000), {});
    view.MakeWritable();
    long length = view.Control().TextLength();
    double start = KeystrokeMs(view, 0);
    double middle = KeystrokeMs(view, view.Control().LineStart(view.Control().LineFromPosition(length / 2)));
    double end = KeystrokeMs(view, view.Control().TextLength());
    std::printf("%8zu %8.3f %8.3f %8.3f\n", megabytes, start, middle, end);
    if (megabytes == 1) firstStart = start;
    lastEnd = end;
  }
  Report(lastEnd <= 3 * firstStart, "keystroke at the end of the largest within 3x the start of 1 MB");
}

void BenchSaveEuc(const std::string& dir, const std::string& shiftJis) {
  TempDir settingsDir;
  ProfileFile profile(settingsDir.File("Kb_zeva3.ini"));
  CKb_zeva3View view(profile);
  CKb_zeva3Doc doc(profile, view);
  view.ShowDocument(shiftJis, {KanjiCode::ShiftJis, KanjiCode::Euc});
  std::string utf8Path = dir + "/text.utf8";
  WriteFile(utf8Path, std::string(view.Control().Utf8Text()));
  double iconvSeconds = TimeCommand("iconv -f UTF-8 -t EUC-JP '" + utf8Path + "' > '" + dir + "/iconv.euc'");
  auto start = Clock::now();
  std::string text = view.TextForSave(nullptr);
  bool ok = WriteFileSafely(QString::fromStdString(dir + "/saved.euc"), EncodeForSave(text, KanjiCode::Euc), nullptr);
  double saveSeconds = Seconds(start);
  std::printf("save %.0f MB as EUC: %.3f s (iconv from UTF-8: %.3f s, %.2fx)%s\n", shiftJis.size() / 1e6, saveSeconds,
              iconvSeconds, saveSeconds / iconvSeconds, ok ? "" : " FAILED");
  Report(ok && saveSeconds <= 2 * iconvSeconds, "save as EUC within 2x iconv");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 3 && std::string(argv[1]) == "--open") return OpenOnce(argv[2]);
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  TempDir dir;
  std::string shiftJis = bench::JapaneseShiftJis(megabytes * 1000 * 1000);
  std::string file = dir.File("japanese.txt");
  WriteFile(file, shiftJis);
  std::printf("Editor on %zu MB of Japanese text (ratios to peers in this run)\n", megabytes);
  BenchOpen(std::filesystem::canonical("/proc/self/exe").string(), file, shiftJis.size());
  BenchSaveEuc(dir.Path().string(), shiftJis);
  BenchKeystrokes(megabytes);
  int missed = 0;
  for (const Check& c : checks) missed += !c.met;
  std::printf("%d target(s) missed\n", missed);
  return 0;
}
