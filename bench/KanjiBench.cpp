// Throughput of the kanji core beside the C library's iconv(3), ICU's
// converters, the plain byte-at-a-time routines and memcpy, all on the same
// generated texts in one run. Targets are ratios to those peers.
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
#include "ShiftJisCodec.h"
#include "reference/ReferenceConverter.h"

namespace {

using kanji::Byte;
using Clock = std::chrono::steady_clock;

// Best of `repeats` runs, in MB/s of input.
double Throughput(std::size_t inputBytes, int repeats, const std::function<void()>& run) {
  double best = 1e30;
  for (int i = 0; i < repeats; ++i) {
    auto start = Clock::now();
    run();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return static_cast<double>(inputBytes) / 1e6 / best;
}

const Byte* Bytes(const std::string& s) { return reinterpret_cast<const Byte*>(s.data()); }

// A buffer that is written once before timing, so page faults stay out of it.
std::vector<Byte>& Scratch(std::size_t bytes) {
  static std::vector<Byte> buffer;
  if (buffer.size() < bytes) buffer.assign(bytes, 1);
  return buffer;
}

double IconvThroughput(const char* to, const char* from, const std::string& input, std::size_t room) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
  std::vector<Byte>& out = Scratch(room);
  bool failed = false;
  double mbps = Throughput(input.size(), 1, [&] {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* o = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = room;
    failed = iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1);
  });
  iconv_close(cd);
  if (failed) std::fprintf(stderr, "iconv %s -> %s stopped early\n", from, to);
  return mbps;
}

double IcuThroughput(const char* to, const char* from, const std::string& input, std::size_t room) {
  UErrorCode error = U_ZERO_ERROR;
  UConverter* target = ucnv_open(to, &error);
  UConverter* source = ucnv_open(from, &error);
  if (U_FAILURE(error)) return 0;
  std::vector<Byte>& out = Scratch(room);
  std::vector<UChar> pivot(1 << 16);
  double mbps = Throughput(input.size(), 3, [&] {
    char* o = reinterpret_cast<char*>(out.data());
    const char* in = input.data();
    UChar* pivotSource = pivot.data();
    UChar* pivotTarget = pivot.data();
    UErrorCode e = U_ZERO_ERROR;
    ucnv_convertEx(target, source, &o, o + room, &in, in + input.size(), pivot.data(), &pivotSource,
                   &pivotTarget, pivot.data() + pivot.size(), true, true, &e);
  });
  ucnv_close(target);
  ucnv_close(source);
  return mbps;
}

double MemcpyThroughput(const std::string& input) {
  std::vector<Byte>& out = Scratch(input.size());
  return Throughput(input.size(), 5, [&] { std::memcpy(out.data(), input.data(), input.size()); });
}

using Routine = std::size_t (*)(const Byte*, std::size_t, Byte*);

double RoutineThroughput(Routine routine, const std::string& input, std::size_t room, int repeats) {
  std::vector<Byte>& out = Scratch(room);
  return Throughput(input.size(), repeats, [&] { routine(Bytes(input), input.size(), out.data()); });
}

struct Text {
  const char* name;
  std::string shiftJis, jis, euc, utf8;
  double memcpyMbps;
};

Text MakeText(const char* name, std::string shiftJis) {
  Text t{name, std::move(shiftJis), {}, {}, {}, 0};
  t.jis = kanji::FromShiftJis(t.shiftJis, KanjiCode::Jis);
  t.euc = kanji::FromShiftJis(t.shiftJis, KanjiCode::Euc);
  t.utf8 = kanji::ShiftJisCodec::Decode(t.shiftJis);
  t.memcpyMbps = MemcpyThroughput(t.shiftJis);
  return t;
}

struct Row {
  std::string what;
  double ours, plain, iconv, icu, memcpy;
};

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
    Row row{std::string(d.name) + " / " + t.name, RoutineThroughput(d.ours, input, room, 3),
            RoutineThroughput(d.plain, input, room, 1), IconvThroughput(d.iconvTo, d.iconvFrom, input, room),
            0, t.memcpyMbps};
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
  Row row{std::string("ConvertLineEnd ") + name + " / " + t.name, RoutineThroughput(ours, t.shiftJis, room, 3),
          RoutineThroughput(plain, t.shiftJis, room, 1), 0, 0, t.memcpyMbps};
  rows.push_back(row);
  Check(row.ours >= 2.5 * row.plain, row.what + ": 2.5x the plain routine");
  if (!japanese) Check(row.ours >= 0.4 * row.memcpy, row.what + ": 40% of memcpy");
}

void Detection(const Text& t) {
  // EUC text has no byte in 0x80-0x9F, so detection reads it to the end.
  auto detect = [](const Byte* in, std::size_t n, Byte*) { return static_cast<std::size_t>(kanji::DetectCodeBytes(in, n)); };
  auto plain = [](const Byte* in, std::size_t n, Byte*) { return static_cast<std::size_t>(kanji::reference::DetectCode(in, n)); };
  Row row{std::string("DetectCode, whole EUC text / ") + t.name, RoutineThroughput(detect, t.euc, 0, 3),
          RoutineThroughput(plain, t.euc, 0, 1), 0, 0, t.memcpyMbps};
  rows.push_back(row);
  Check(row.ours >= row.memcpy, row.what + ": memory speed (at least memcpy's rate)");
}

void Codec(const Text& t) {
  auto decode = [](const Byte* in, std::size_t n, Byte* out) {
    return kanji::ShiftJisCodec::DecodeChunk({reinterpret_cast<const char*>(in), n}, true,
                                             reinterpret_cast<char*>(out), nullptr);
  };
  std::size_t room = kanji::ShiftJisCodec::DecodedBound(t.shiftJis.size());
  Row dec{std::string("Codec decode to UTF-8 / ") + t.name, RoutineThroughput(decode, t.shiftJis, room, 3), 0,
          IconvThroughput("UTF-8", "CP932", t.shiftJis, room), IcuThroughput("UTF-8", "windows-932", t.shiftJis, room),
          t.memcpyMbps};
  rows.push_back(dec);
  Check(dec.ours >= 2 * dec.icu, dec.what + ": 2x ICU");

  std::vector<Byte>& encoded = Scratch(kanji::ShiftJisCodec::EncodedBound(t.utf8.size()));
  double encode = Throughput(t.utf8.size(), 3, [&] {
    kanji::ShiftJisCodec::EncodeInto(t.utf8, reinterpret_cast<char*>(encoded.data()), nullptr);
  });
  Row enc{std::string("Codec encode from UTF-8 / ") + t.name, encode, 0,
          IconvThroughput("CP932", "UTF-8", t.utf8, t.utf8.size() + 16),
          IcuThroughput("windows-932", "UTF-8", t.utf8, t.utf8.size() + 16), t.memcpyMbps};
  rows.push_back(enc);
  Check(enc.ours >= 2 * enc.icu, enc.what + ": 2x ICU");

  double length = Throughput(t.utf8.size(), 3, [&] { kanji::ShiftJisCodec::EncodedLength(t.utf8); });
  rows.push_back({std::string("Codec Shift-JIS length of UTF-8 / ") + t.name, length, 0, 0, 0, t.memcpyMbps});
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

}  // namespace

int main(int argc, char** argv) {
  std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  std::size_t bytes = megabytes * 1000 * 1000;
  std::printf("Kanji core on %zu MB texts (targets are ratios to peers in this run)\n", megabytes);
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
