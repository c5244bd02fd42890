// The settings file's cost per call on a file of 200 keys: one write
// (lock, read, edit, write a temporary file, rename: no fsync), and one read
// beside parsing the file once, which a read should not exceed by much
// (the two in alternating rounds, medians printed).

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "IniText.h"
#include "ProfileFile.h"
#include "Rounds.h"

namespace {

double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

template <class F>
void Measure(const char* what, int repeats, F f, double* cpuPerCall = nullptr) {
  double cpu = CpuSeconds();
  double wall = WallSeconds();
  for (int i = 0; i < repeats; ++i) f(i);
  double cpuEach = (CpuSeconds() - cpu) / repeats;
  double wallEach = (WallSeconds() - wall) / repeats;
  std::printf("%-44s %8.1f us CPU %8.1f us wall\n", what, cpuEach * 1e6, wallEach * 1e6);
  if (cpuPerCall) *cpuPerCall = cpuEach;
}

}  // namespace

int main() {
  std::string dir = (std::filesystem::temp_directory_path() / "kb_settings_bench.XXXXXX").string();
  if (!mkdtemp(dir.data())) return 1;
  std::string path = dir + "/Kb_zeva3.ini";
  ProfileFile profile(path);
  for (int section = 0; section < 10; ++section)
    for (int key = 0; key < 20; ++key)
      profile.WriteProfileString("Section" + std::to_string(section), "Key" + std::to_string(key),
                                 "value of key " + std::to_string(key) + " 日本語");

  std::printf("Settings file of 200 keys (%zu bytes)\n", std::filesystem::file_size(path));
  double write = 0;
  Measure("write one key", 2000, [&](int i) { profile.WriteProfileInt("Section5", "Key7", i); }, &write);
  std::vector<double> cpu = bench::AlternatingMedians({
      [&] {
        double each = 0;
        Measure("read one key (last section)", 4000, [&](int) { profile.GetProfileInt("Section9", "Key19", 0); }, &each);
        return each;
      },
      [&] {
        double each = 0;
        Measure("read the file and parse it once", 4000, [&](int) {
          std::ifstream in(path, std::ios::binary);
          IniText text(std::string(std::istreambuf_iterator<char>(in), {}));
          (void)text;
        }, &each);
        return each;
      },
  });
  double read = cpu[0], parse = cpu[1];
  std::printf("medians of %d alternating rounds: read %.1f us, parse %.1f us of CPU\n", bench::kRounds, read * 1e6,
              parse * 1e6);
  std::printf("  %-5s one write under 1 ms of CPU (%.3f ms)\n", write < 1e-3 ? "met" : "MISS", write * 1e3);
  std::printf("  %-5s one read within 1.5x one parse (%.2fx)\n", read <= 1.5 * parse ? "met" : "MISS", read / parse);
  std::filesystem::remove_all(dir);
  return 0;
}
