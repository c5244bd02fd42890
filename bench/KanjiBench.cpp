// Throughput of the kanji core beside the C library's iconv(3), ICU's
// converters, the plain byte-at-a-time routines and memcpy, all on the same
// generated texts in one run. Targets are ratios to those peers; each row's
// contenders run in alternating rounds and each figure is the median.
//
// usage: kanji_bench [megabytes]   (default 100)

#include <iconv.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BenchTexts.h"
#include "KanjiText.h"
#include "KanjiTranscoder.h"
#include "ProcessorFeatures.h"
#include "Rounds.h"
#include "ShiftJisCodec.h"
#include "reference/ReferenceConverter.h"

namespace {

using kanji::Byte;
// One timed run of a contender, in seconds; an empty one is not in the row.
using Run = std::function<double()>;

Run Timed(std::function<void()> run) {
  return [run = std::move(run)] { return bench::TimeSeconds(run); };
}

const Byte* Bytes(const std::string& s) { return reinterpret_cast<const Byte*>(s.data()); }

// Buffers written once before timing, so page faults stay out of it; one
// per contender of a row, as they alternate.
std::vector<Byte>& Scratch(std::size_t bytes, int which = 0) {
  static std::vector<Byte> buffers[4];
  std::vector<Byte>& buffer = buffers[which];
  if (buffer.size() < bytes) buffer.assign(bytes, 1);
  return buffer;
}

// iconv's and ICU's converters are opened once and reset for each run.
Run IconvRun(const char* to, const char* from, const std::string& input, std::size_t room) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::vector<Byte>& out = Scratch(room, 2);
  return Timed([cd, &input, &out, room, to, from] {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* o = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = room;
    if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1))
      std::fprintf(stderr, "iconv %s -> %s stopped early\n", from, to);
  });
}

Run IcuRun(const char* to, const char* from, const std::string& input, std::size_t room) {
  UErrorCode error = U_ZERO_ERROR;
  UConverter* target = ucnv_open(to, &error);
  UConverter* source = ucnv_open(from, &error);
  if (U_FAILURE(error)) return {};
  std::vector<Byte>& out = Scratch(room, 3);
  auto pivot = std::make_shared<std::vector<UChar>>(1 << 16);
  return Timed([target, source, &input, &out, room, pivot] {
    char* o = reinterpret_cast<char*>(out.data());
    const char* in = input.data();
    UChar* pivotSource = pivot->data();
    UChar* pivotTarget = pivot->data();
    UErrorCode e = U_ZERO_ERROR;
    ucnv_convertEx(target, source, &o, o + room, &in, in + input.size(), pivot->data(), &pivotSource, &pivotTarget,
                   pivot->data() + pivot->size(), true, true, &e);
  });
}

using Routine = std::size_t (*)(const Byte*, std::size_t, Byte*);

Run RoutineRun(Routine routine, const std::string& input, std::size_t room, int which) {
  std::vector<Byte>& out = Scratch(room, which);
  return Timed([routine, &input, &out] { routine(Bytes(input), input.size(), out.data()); });
}

struct Text {
  const char* name;
  std::string shiftJis, jis, euc, utf8;
};

Text MakeText(const char* name, std::string shiftJis) {
  Text t{name, std::move(shiftJis), {}, {}, {}};
  t.jis = kanji::FromShiftJis(t.shiftJis, KanjiCode::Jis);
  t.euc = kanji::FromShiftJis(t.shiftJis, KanjiCode::Euc);
  t.utf8 = kanji::ShiftJisCodec::Decode(t.shiftJis);
  return t;
}

struct Row {
  std::string what;
  double ours, plain, iconv, icu, memcpy;  // MB/s of input, 0 for none
};

// The row's contenders and memcpy of the same input, in alternating
// rounds; each median as MB/s of `input`.
Row MeasureRow(const std::string& what, const std::string& input, Run ours, Run plain, Run iconvRun, Run icu) {
  std::vector<Byte>& copy = Scratch(input.size(), 1);
  Run memcpyRun = Timed([&input, &copy] { std::memcpy(copy.data(), input.data(), input.size()); });
  std::vector<Run> present;
  std::vector<double*> figures;
  Row row{what, 0, 0, 0, 0, 0};
  for (auto [run, figure] : {std::pair{&ours, &row.ours}, std::pair{&plain, &row.plain},
                             std::pair{&iconvRun, &row.iconv}, std::pair{&icu, &row.icu},
                             std::pair{&memcpyRun, &row.memcpy}}) {
    if (!*run) continue;
    present.push_back(*run);
    figures.push_back(figure);
  }
  std::vector<double> seconds = bench::AlternatingMedians({present.begin(), present.end()});
  for (std::size_t i = 0; i < seconds.size(); ++i) *figures[i] = static_cast<double>(input.size()) / 1e6 / seconds[i];
  return row;
}

std::vector<Row> rows;
std::vector<std::string> misses;

void Check(bool met, const std::string& target) {
  std::printf("  %-5s %s\n", met ? "met" : "MISS", target.c_str());
  if (!met) misses.push_back(target);
}

void LineEnds(const Text& t, bool japanese, int type, const char* name);

void Routines(const Text& t, bool japanese) {
  struct Direction {
    const char* name;
    Routine ours, plain;
    const std::string Text::*input;
    const char *iconvFrom, *iconvTo;
    std::size_t roomFactor;
  };
  const Direction directions[] = {
      {"SjisToJis", kanji::SjisToJisBytes, kanji::reference::SjisToJis, &Text::shiftJis, "CP932",
       "ISO-2022-JP", 3},
      {"EucToJis", kanji::EucToJisBytes, kanji::reference::EucToJis, &Text::euc, "EUC-JP", "ISO-2022-JP", 3},
      {"JisToSjis", kanji::JisToSjisBytes, kanji::reference::JisToSjis, &Text::jis, "ISO-2022-JP", "CP932", 1},
      {"JisToEuc", kanji::JisToEucBytes, kanji::reference::JisToEuc, &Text::jis, "ISO-2022-JP", "EUC-JP", 1},
      {"SjisToEuc (chain)", kanji::SjisToEucBytes, kanji::reference::SjisToEucChained, &Text::shiftJis,
       "CP932", "EUC-JP", 1},
      {"EucToSjis (chain)", kanji::EucToSjisBytes, kanji::reference::EucToSjisChained, &Text::euc, "EUC-JP",
       "CP932", 1},
  };
  for (const Direction& d : directions) {
    const std::string& input = t.*d.input;
    std::size_t room = d.roomFactor * input.size() + 16;
    Row row = MeasureRow(std::string(d.name) + " / " + t.name, input, RoutineRun(d.ours, input, room, 0),
                         RoutineRun(d.plain, input, room, 0), IconvRun(d.iconvTo, d.iconvFrom, input, room), {});
    rows.push_back(row);
    Check(row.ours >= 2.5 * row.plain, row.what + ": 2.5x the plain routine");
    if (japanese) Check(row.ours >= 4 * row.iconv, row.what + ": 4x iconv");
    else Check(row.ours >= 0.4 * row.memcpy, row.what + ": 40% of memcpy");
  }
  LineEnds(t, japanese, 2, "LF");
  LineEnds(t, japanese, 3, "CRLF");
}

void LineEnds(const Text& t, bool japanese, int type, const char* name) {
  static int lineEndType;
  lineEndType = type;
  auto ours = [](const Byte* in, std::size_t n, Byte* out) { return kanji::ConvertLineEndBytes(in, n, out, lineEndType); };
  auto plain = [](const Byte* in, std::size_t n, Byte* out) {
    return kanji::reference::ConvertLineEnd(in, n, out, lineEndType);
  };
  std::size_t room = 2 * t.shiftJis.size() + 16;
  Row row = MeasureRow(std::string("ConvertLineEnd ") + name + " / " + t.name, t.shiftJis,
                       RoutineRun(ours, t.shiftJis, room, 0), RoutineRun(plain, t.shiftJis, room, 0), {}, {});
  rows.push_back(row);
  Check(row.ours >= 2.5 * row.plain, row.what + ": 2.5x the plain routine");
  if (!japanese) Check(row.ours >= 0.4 * row.memcpy, row.what + ": 40% of memcpy");
}

void Detection(const Text& t) {
  // EUC text has no byte in 0x80-0x9F, so detection reads it to the end.
  auto detect = [](const Byte* in, std::size_t n, Byte*) { return static_cast<std::size_t>(kanji::DetectCodeBytes(in, n)); };
  auto plain = [](const Byte* in, std::size_t n, Byte*) { return static_cast<std::size_t>(kanji::reference::DetectCode(in, n)); };
  Row row = MeasureRow(std::string("DetectCode, whole EUC text / ") + t.name, t.euc, RoutineRun(detect, t.euc, 0, 0),
                       RoutineRun(plain, t.euc, 0, 0), {}, {});
  rows.push_back(row);
  Check(row.ours >= row.memcpy, row.what + ": memory speed (at least memcpy's rate)");
}

void Codec(const Text& t) {
  auto decode = [](const Byte* in, std::size_t n, Byte* out) {
    return kanji::ShiftJisCodec::DecodeChunk({reinterpret_cast<const char*>(in), n}, true,
                                             reinterpret_cast<char*>(out), nullptr);
  };
  std::size_t room = kanji::ShiftJisCodec::DecodedBound(t.shiftJis.size());
  Row dec = MeasureRow(std::string("Codec decode to UTF-8 / ") + t.name, t.shiftJis, RoutineRun(decode, t.shiftJis, room, 0),
                       {}, IconvRun("UTF-8", "CP932", t.shiftJis, room), IcuRun("UTF-8", "windows-932", t.shiftJis, room));
  rows.push_back(dec);
  Check(dec.ours >= 2 * dec.icu, dec.what + ": 2x ICU");

  std::vector<Byte>& encoded = Scratch(kanji::ShiftJisCodec::EncodedBound(t.utf8.size()), 0);
  Run encode = Timed([&t, &encoded] {
    kanji::ShiftJisCodec::EncodeInto(t.utf8, reinterpret_cast<char*>(encoded.data()), nullptr);
  });
  Row enc = MeasureRow(std::string("Codec encode from UTF-8 / ") + t.name, t.utf8, encode, {},
                       IconvRun("CP932", "UTF-8", t.utf8, t.utf8.size() + 16),
                       IcuRun("windows-932", "UTF-8", t.utf8, t.utf8.size() + 16));
  rows.push_back(enc);
  Check(enc.ours >= 2 * enc.icu, enc.what + ": 2x ICU");

  Run length = Timed([&t] { kanji::ShiftJisCodec::EncodedLength(t.utf8); });
  rows.push_back(MeasureRow(std::string("Codec Shift-JIS length of UTF-8 / ") + t.name, t.utf8, length, {}, {}, {}));
}

void PrintTable() {
  std::printf("\n%-46s %9s %9s %9s %9s %9s\n", "MB/s of input", "ours", "plain", "iconv", "ICU", "memcpy");
  auto cell = [](double v) {
    static char buffers[5][16];
    static int next = 0;
    char* b = buffers[next++ % 5];
    if (v > 0) std::snprintf(b, 16, "%9.0f", v);
    else std::snprintf(b, 16, "%9s", "-");
    return b;
  };
  for (const Row& r : rows)
    std::printf("%-46s %s %s %s %s %s\n", r.what.c_str(), cell(r.ours), cell(r.plain), cell(r.iconv),
                cell(r.icu), cell(r.memcpy));
}

// KB_KANJI_LEVEL=UpToAvx2 or Baseline measures the code a processor without
// AVX-512, or without any extension, runs; unset, all this one has.
const char* EnterLevelFromEnvironment() {
  const char* level = std::getenv("KB_KANJI_LEVEL");
  if (!level || std::strcmp(level, "All") == 0) return "All";
  if (std::strcmp(level, "UpToAvx2") == 0) kanji::LimitProcessorExtensions(kanji::ProcessorExtensions::UpToAvx2);
  else if (std::strcmp(level, "Baseline") == 0) kanji::LimitProcessorExtensions(kanji::ProcessorExtensions::None);
  else return nullptr;
  return level;
}

}  // namespace

int main(int argc, char** argv) {
  const char* level = EnterLevelFromEnvironment();
  if (!level) {
    std::fprintf(stderr, "KB_KANJI_LEVEL must be All, UpToAvx2 or Baseline\n");
    return 2;
  }
  std::printf("Processor extensions: %s (AVX-512 VBMI2 %s, AVX2 %s, BMI2 %s in use)\n", level,
              kanji::UseAvx512() ? "yes" : "no", kanji::UseAvx2() ? "yes" : "no", kanji::UseBmi2() ? "yes" : "no");
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  std::size_t bytes = megabytes * 1000 * 1000;
  std::printf("Kanji core on %zu MB texts (targets are ratios to peers in this run; medians of %d alternating rounds)\n",
              megabytes, bench::kRounds);
  Text japanese = MakeText("Japanese", bench::JapaneseShiftJis(bytes));
  Text asciiHeavy = MakeText("ASCII-heavy", bench::AsciiHeavyShiftJis(bytes));
  for (const Text* t : {&japanese, &asciiHeavy}) {
    std::printf("\n%s text:\n", t->name);
    Routines(*t, t == &japanese);
    Detection(*t);
    Codec(*t);
  }
  PrintTable();
  std::printf("\n%zu target(s) missed\n", misses.size());
  return 0;
}
