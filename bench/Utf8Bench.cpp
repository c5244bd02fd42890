// UTF-8 documents beside Shift-JIS ones, in one run: opening the same text
// as a UTF-8 file and as a Shift-JIS file (automatic detection, load step
// to first paint, each in its own process), the peak memory of each open,
// and the UTF-8 check that detection runs over a whole file, beside memcpy
// of the same bytes.
//
// usage: utf8_bench [megabytes]          (default 100)
//        utf8_bench --open FILE          (one open, in its own process)

#include <sys/resource.h>

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchTexts.h"
#include "Rounds.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "ProfileFile.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"
#include "Utf8FileCodec.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

int OpenOnce(const char* path) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  profile.WriteProfileInt("KanaCode", "Load", 4);
  profile.WriteProfileInt("KanaCode", "Save", 4);
  CKb_zeva3View view(profile);
  CKb_zeva3Doc doc(profile, view);
  view.resize(800, 600);
  view.show();
  QApplication::processEvents();
  auto start = Clock::now();
  if (!doc.OpenDocumentFile(QString::fromLocal8Bit(path))) return 1;
  view.Control().viewport()->repaint();
  double seconds = Seconds(start);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%.3f %.0f %d\n", seconds, static_cast<double>(usage.ru_maxrss) / 1024.0, KanjiCodeToInt(view.LoadCode()));
  return 0;
}

struct Opened {
  double seconds = 0, peakMb = 0;
  int code = -1;
};

Opened OpenInChild(const std::string& self, const std::string& file) {
  Opened opened;
  FILE* child = popen(("'" + self + "' --open '" + file + "'").c_str(), "r");
  if (!child || std::fscanf(child, "%lf %lf %d", &opened.seconds, &opened.peakMb, &opened.code) != 3)
    std::fprintf(stderr, "open of %s failed\n", file.c_str());
  if (child) pclose(child);
  return opened;
}

int failures = 0;
volatile char sink = 0;  // keeps the copies from being optimised away

void Report(bool met, const char* what) {
  std::printf("  %-5s %s\n", met ? "met" : "MISS", what);
  if (!met) ++failures;
}

// The check and memcpy of the same bytes in alternating rounds (medians,
// GB/s); returns the check's figure.
double BenchCheck(const char* name, const std::string& utf8) {
  std::vector<char> copy(utf8.size(), 1);
  bool valid = false;
  std::vector<double> seconds = bench::AlternatingMedians({
      [&] { return bench::TimeSeconds([&] { valid = kanji::Utf8FileCodec::LooksLikeUtf8(utf8); }); },
      [&] {
        return bench::TimeSeconds([&] {
          std::memcpy(copy.data(), utf8.data(), utf8.size());
          sink = sink + copy[copy.size() / 2];
        });
      },
  });
  const double check = static_cast<double>(utf8.size()) / 1e9 / seconds[0];
  const double memcpyRate = static_cast<double>(utf8.size()) / 1e9 / seconds[1];
  std::printf("UTF-8 check, %s, %.0f MB: %.2f GB/s (memcpy %.2f GB/s, %.2fx; medians of %d alternating rounds)%s\n",
              name, utf8.size() / 1e6, check, memcpyRate, check / memcpyRate, bench::kRounds,
              valid ? "" : " NOT TAKEN FOR UTF-8");
  return check;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--open") == 0) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return OpenOnce(argv[2]);
  }
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const std::size_t bytes = megabytes * 1000 * 1000;

  const std::string asciiHeavy = kanji::ShiftJisCodec::Decode(bench::AsciiHeavyShiftJis(bytes));
  Report(BenchCheck("ASCII-heavy", asciiHeavy) >= 5.0, "UTF-8 check of ASCII-heavy text at 5 GB/s or more");

  TempDir dir;
  const std::string shiftJis = bench::JapaneseShiftJis(bytes);
  const std::string utf8 = kanji::ShiftJisCodec::Decode(shiftJis);
  BenchCheck("Japanese prose", utf8);
  const std::string sjisPath = dir.File("text.sjis"), utf8Path = dir.File("text.utf8");
  WriteFile(sjisPath, shiftJis);
  WriteFile(utf8Path, utf8);
  const std::string self = argv[0];
  Opened sjis, opened;
  std::vector<double> openSeconds = bench::AlternatingMedians({
      [&] { return (sjis = OpenInChild(self, sjisPath)).seconds; },
      [&] { return (opened = OpenInChild(self, utf8Path)).seconds; },
  });
  sjis.seconds = openSeconds[0];
  opened.seconds = openSeconds[1];
  std::printf("open, same text (medians of %d alternating rounds): Shift-JIS %.0f MB %.3f s, peak RSS %.0f MB; "
              "UTF-8 %.0f MB %.3f s (%.2fx), peak RSS %.0f MB (%.2fx)\n",
              bench::kRounds,
              shiftJis.size() / 1e6, sjis.seconds, sjis.peakMb, utf8.size() / 1e6, opened.seconds,
              opened.seconds / sjis.seconds, opened.peakMb, opened.peakMb / sjis.peakMb);
  Report(opened.code == 5 && sjis.code == 1, "detected as UTF-8 and Shift-JIS");
  Report(opened.seconds <= sjis.seconds, "UTF-8 open within the Shift-JIS open's time");
  Report(opened.peakMb <= sjis.peakMb, "UTF-8 peak RSS within the Shift-JIS figure");
  std::printf("%d of the UTF-8 targets missed\n", failures);
  return 0;
}
