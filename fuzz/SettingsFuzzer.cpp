// The settings file's text on arbitrary bytes: parsing and writing back
// gives the same bytes; a key set (with what the file can hold) reads back;
// every other key of the file reads as before.
//
// Input: three length bytes, then the section, key and value, then the file.

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "IniText.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string lower(s);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// What reading gives for a stored value: blanks at the ends and one pair of
// enclosing quotes removed.
std::string AsRead(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

// Every (section, key) named in the file, found line by line.
std::vector<std::pair<std::string, std::string>> NamesIn(std::string_view file) {
  std::vector<std::pair<std::string, std::string>> names;
  std::string section;
  bool first = true;
  while (!file.empty()) {
    std::size_t lf = file.find('\n');
    std::string_view line = file.substr(0, lf);
    file = lf == std::string_view::npos ? std::string_view() : file.substr(lf + 1);
    if (!line.empty() && line.back() == '\r' && lf != std::string_view::npos) line.remove_suffix(1);
    if (first && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    first = false;
    std::string_view trimmed = Trim(line);
    std::size_t close = trimmed.find(']');
    if (trimmed.size() >= 2 && trimmed.front() == '[' && close != std::string_view::npos) {
      section = std::string(Trim(trimmed.substr(1, close - 1)));
    } else if (std::size_t equals = line.find('='); equals != std::string_view::npos) {
      names.emplace_back(section, std::string(Trim(line.substr(0, equals))));
    }
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  if (in.size() < 3) return 0;
  std::size_t lengths[] = {static_cast<unsigned char>(in[0]) % 16u, static_cast<unsigned char>(in[1]) % 16u,
                           static_cast<unsigned char>(in[2]) % 64u};
  in.remove_prefix(3);
  std::string_view parts[3];
  for (int i = 0; i < 3; ++i) {
    parts[i] = in.substr(0, lengths[i]);
    in.remove_prefix(parts[i].size());
  }
  auto [section, key, value] = parts;
  std::string_view file = in;

  IniText text(file);
  Require(text.Bytes() == file);
  if (!IniText::CanHold(section, key, value)) return 0;

  std::vector<std::pair<std::string, std::string>> others;
  for (auto& name : NamesIn(file))
    if (Lower(name.first) != Lower(section) || Lower(name.second) != Lower(key)) others.push_back(name);
  std::vector<std::optional<std::string>> before;
  for (const auto& [s, k] : others) before.push_back(text.Find(s, k));

  text.Set(section, key, value);
  Require(text.Find(section, key) == AsRead(value));
  for (std::size_t i = 0; i < others.size(); ++i) Require(text.Find(others[i].first, others[i].second) == before[i]);
  IniText reread(text.Bytes());
  Require(reread.Bytes() == text.Bytes());
  Require(reread.Find(section, key) == AsRead(value));
  return 0;
}
