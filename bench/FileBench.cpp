// Opening and saving a document in each kanji code, each beside iconv(1)
// doing the same conversion on the same file (a whole process too), in
// alternating rounds with medians: the open from the process's start to
// the first painted text, and its peak memory against the file's size; the
// save of the opened text (timed inside the editor), and the peak memory
// while it runs.
//
// usage: file_bench [megabytes]                (default 100)
//        file_bench --code-check [megabytes]   (only the open with and without the reopen offer's check)
//        file_bench --open FILE LOAD           (one open: prints the peak RSS, MB, and the code read;
//                                               KB_BENCH_NO_CODE_CHECK=1: without the reopen offer's check)
//        file_bench --save FILE LOAD           (one open and save: prints seconds and the save's peak RSS, MB)
// LOAD is the "Load" setting the file is read with; it is saved "as read".

#include <unistd.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchTexts.h"
#include "CKb_zeva3Doc.h"
#include "DocumentFileCodeCheck.h"
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

// Settings of the bench's own: read with LOAD, saved "as read".
std::string BenchSettings(TempDir& dir, const char* loadSetting) {
  std::string settings = dir.File("Kb_zeva3.ini");
  ProfileFile profile(settings);
  profile.WriteProfileInt("KanaCode", "Load", std::atoi(loadSetting));
  profile.WriteProfileInt("KanaCode", "Save", 4);
  return settings;
}

// Prints the peak memory and the code the file was read in.
int OpenOnce(int argc, char** argv) {
  if (std::getenv("KB_BENCH_NO_CODE_CHECK")) SetCodeCheckForTesting(false);
  TempDir dir;
  return bench::WithEditor(argc, argv, BenchSettings(dir, argv[3]), argv[2], [](CKb_zeva3App& app, CMainFrame& frame) {
    int code = KanjiCodeToInt(frame.View().LoadCode());
    return bench::ShowUntilFirstPaint(app, frame, [code] { std::printf("%.1f %d\n", bench::PeakRssMegabytes(), code); });
  });
}

int SaveOnce(int argc, char** argv) {
  TempDir dir;
  return bench::WithEditor(argc, argv, BenchSettings(dir, argv[3]), argv[2], [](CKb_zeva3App&, CMainFrame& frame) {
    bench::ResetPeakRss();
    auto start = Clock::now();
    bool saved = frame.Document().Save();
    double seconds = SecondsSince(start);
    std::printf("%.4f %.1f\n", saved ? seconds : -1.0, bench::PeakRssMegabytes());
    std::fflush(stdout);
    _exit(0);
    return 0;
  });
}

// Runs `command` and reads the numbers of the line it prints; returns the
// seconds from its start to that line.
double RunReading(const std::string& command, double* first, double* second = nullptr) {
  auto start = Clock::now();
  FILE* child = popen(command.c_str(), "r");
  int wanted = second ? 2 : 1;
  if (!child || (second ? std::fscanf(child, "%lf %lf", first, second) : std::fscanf(child, "%lf", first)) != wanted)
    std::fprintf(stderr, "failed: %s\n", command.c_str());
  double seconds = SecondsSince(start);
  if (child) pclose(child);
  return seconds;
}

int missed = 0;

void Report(bool met, const std::string& what) {
  std::printf("  %-5s %s\n", met ? "met" : "MISS", what.c_str());
  missed += !met;
}

struct Code {
  const char* name;
  KanjiCode code;
  // The bench text has half-width katakana, whose EUC single shift 0x8E
  // detection takes for Shift-JIS: EUC is read as the user would choose it.
  int loadSetting;
  const char* iconvName;
  double openTarget;  // open time against iconv; 0 for none here
};

void BenchCode(const std::string& self, const std::string& dir, const Code& code, const std::string& shiftJis,
               const std::string& utf8) {
  std::string bytes = code.code == KanjiCode::Utf8 ? utf8 : kanji::FromShiftJis(shiftJis, code.code);
  std::string file = dir + "/text." + code.name;
  std::string copy = dir + "/saved." + code.name;
  std::string utf8File = dir + "/text.utf8";
  WriteFile(file, bytes);
  WriteFile(copy, bytes);
  double fileMb = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  double openPeak = 0, savePeak = 0, saveSeconds = 0, readAs = -1;
  auto child = [&](const char* mode, const std::string& path) {
    return "'" + self + "' " + mode + " '" + path + "' " + std::to_string(code.loadSetting) + " 2>/dev/null";
  };
  std::vector<double> figures = bench::AlternatingMedians({
      [&] { return TimeCommand("iconv -f " + std::string(code.iconvName) + " -t UTF-8 '" + file + "' > /dev/null"); },
      [&] { return RunReading(child("--open", file), &openPeak, &readAs); },
      [&] {
        return TimeCommand("iconv -f UTF-8 -t " + std::string(code.iconvName) + " '" + utf8File + "' > '" + dir +
                           "/iconv.out'");
      },
      [&] {
        RunReading(child("--save", copy), &saveSeconds, &savePeak);
        return saveSeconds;
      },
  });
  bool sameBytes = [&] {
    std::ifstream in(copy, std::ios::binary);
    std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return saved == bytes;
  }();
  std::printf("%-5s %4.0f MB  open %.3f s (iconv to UTF-8 %.3f s, %.2fx), peak RSS %.0f MB (%.2fx the file)\n", code.name,
              fileMb, figures[1], figures[0], figures[1] / figures[0], openPeak, openPeak / fileMb);
  std::printf("                save %.3f s (iconv from UTF-8 %.3f s, %.2fx), peak RSS while saving %.0f MB (%.2fx)%s\n",
              figures[3], figures[2], figures[3] / figures[2], savePeak, savePeak / fileMb,
              sameBytes ? "" : ", SAVED OTHER BYTES");
  // A file read in another code measures another conversion.
  Report(static_cast<int>(readAs) == KanjiCodeToInt(code.code), std::string("read as ") + code.name);
  if (code.openTarget > 0)
    Report(figures[1] <= code.openTarget * figures[0], "open within " + std::to_string(code.openTarget).substr(0, 3) + "x iconv");
  Report(openPeak <= 2.5 * fileMb, "open peak RSS within 2.5x the file");
  Report(savePeak <= 2.5 * fileMb && figures[3] > 0 && sameBytes, "save peak RSS within 2.5x the file, bytes unchanged");
}

// An EUC file opened with the default "Load" setting (Shift-JIS): the
// check behind the offer to read it again as EUC looks at its first
// megabyte only, so the open costs what it did without the check.
void BenchCodeCheck(const std::string& self, const std::string& dir, const std::string& shiftJis) {
  const std::string file = dir + "/check.euc";
  WriteFile(file, kanji::FromShiftJis(shiftJis, KanjiCode::Euc));
  double peak = 0, readAs = -1;
  const std::string open = "'" + self + "' --open '" + file + "' 1 2>/dev/null";
  std::vector<double> figures = bench::AlternatingMedians({
      [&] { return RunReading("KB_BENCH_NO_CODE_CHECK=1 " + open, &peak, &readAs); },
      [&] { return RunReading(open, &peak, &readAs); },
  });
  std::printf("euc read as Shift-JIS (Load=1): open %.3f s with the reopen check, %.3f s without (%.3fx)\n",
              figures[1], figures[0], figures[1] / figures[0]);
  Report(static_cast<int>(readAs) == KanjiCodeToInt(KanjiCode::ShiftJis), "read as the setting says");
  Report(figures[1] <= 1.05 * figures[0], "open with the reopen check within 1.05x of the open without it");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 4 && std::string(argv[1]) == "--open") return OpenOnce(argc, argv);
  if (argc == 4 && std::string(argv[1]) == "--save") return SaveOnce(argc, argv);
  const bool onlyCodeCheck = argc > 1 && std::string(argv[1]) == "--code-check";
  if (onlyCodeCheck) {
    --argc;
    ++argv;
  }
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  TempDir dir;
  std::string shiftJis = bench::JapaneseShiftJis(megabytes * 1000 * 1000);
  std::string utf8 = kanji::ShiftJisCodec::Decode(shiftJis);
  WriteFile(dir.File("text.utf8"), utf8);
  std::string self = std::filesystem::canonical("/proc/self/exe").string();
  std::printf("Opening and saving %zu MB of Japanese text in each code (medians of %d alternating rounds)\n", megabytes,
              bench::kRounds);
  if (!onlyCodeCheck)
    for (const Code& code : {Code{"euc", KanjiCode::Euc, 3, "EUC-JP", 1.3}, Code{"jis", KanjiCode::Jis, 4, "ISO-2022-JP", 1.3},
                             Code{"sjis", KanjiCode::ShiftJis, 4, "CP932", 0}, Code{"utf8", KanjiCode::Utf8, 5, "UTF-8", 0}})
      BenchCode(self, dir.Path().string(), code, shiftJis, utf8);
  BenchCodeCheck(self, dir.Path().string(), shiftJis);
  std::printf("%d target(s) missed\n", missed);
  return 0;
}
