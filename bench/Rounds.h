#pragma once

// Contenders measured in alternating rounds: each round runs every
// contender once, in turn, so that a change of load on the machine falls on
// all of them alike; each contender's figure is the median of its rounds.
// Every ratio a benchmark prints comes from these medians.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace bench {

constexpr int kRounds = 5;

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Each contender returns its figure for one run (seconds, MB/s...).
inline std::vector<double> AlternatingMedians(const std::vector<std::function<double()>>& contenders,
                                              int rounds = kRounds) {
  std::vector<std::vector<double>> figures(contenders.size());
  for (int round = 0; round < rounds; ++round)
    for (std::size_t i = 0; i < contenders.size(); ++i) figures[i].push_back(contenders[i]());
  std::vector<double> medians;
  for (const std::vector<double>& f : figures) medians.push_back(Median(f));
  return medians;
}

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double TimeSeconds(const std::function<void()>& run) {
  auto start = Clock::now();
  run();
  return SecondsSince(start);
}

// A whole process, from its start to its end.
inline double TimeCommand(const std::string& command) {
  return TimeSeconds([&] {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  });
}

}  // namespace bench
