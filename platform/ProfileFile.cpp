#include "ProfileFile.h"

#include <sys/stat.h>

#include <climits>
#include <fstream>
#include <iterator>

#include "IniText.h"
#include "SettingsFileRewrite.h"
#include "ShiftJisCodec.h"

namespace {

using kanji::ShiftJisCodec;

std::string ToFile(std::string_view utf8) { return ShiftJisCodec::Encode(utf8).bytes; }


std::optional<std::string> ReadWholeFile(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A value is read as at most kMaxValueBytes of Shift-JIS, never ending in
// half a character. A pair beginning at the limit is cut in two by the
// first cut, but it lies past the limit either way.
std::string FromFile(std::string_view value) {
  std::string utf8 = ShiftJisCodec::Decode(value.substr(0, ProfileFile::kMaxValueBytes + 1));
  utf8.resize(ShiftJisCodec::PrefixFitting(utf8, ProfileFile::kMaxValueBytes));
  return utf8;
}

int LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;  // saturate below
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

template <class Change>
bool EditFile(const std::string& path, Change change) {
  return SettingsFileRewrite::Apply(path, [&](std::string_view current) {
    IniText text(current);
    change(text);
    return text.Bytes();
  });
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> ProfileFile::ReadRaw(std::string_view section, std::string_view key) const {
  std::optional<std::string> bytes = ReadWholeFile(path_);
  if (!bytes) return std::nullopt;
  return IniText(*bytes).Find(ToFile(section), ToFile(key));
}

int ProfileFile::GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const {
  std::optional<std::string> value = ReadRaw(section, key);
  return value ? LeadingInteger(*value) : defaultValue;
}

std::string ProfileFile::GetProfileString(std::string_view section, std::string_view key,
                                          std::string_view defaultValue) const {
  std::optional<std::string> value = ReadRaw(section, key);
  if (!value) return std::string(defaultValue);
  return FromFile(*value);
}

bool ProfileFile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  return WriteProfileString(section, key, std::to_string(value));
}

bool ProfileFile::WriteProfileString(std::string_view section, std::optional<std::string_view> key,
                                     std::optional<std::string_view> value) {
  std::string fileSection = ToFile(section);
  std::string fileKey = key ? ToFile(*key) : "";
  std::string fileValue = value ? ToFile(*value) : "";
  if (!IniText::CanHold(fileSection, fileKey, fileValue)) return false;
  if (!key) return EditFile(path_, [&](IniText& text) { text.RemoveSection(fileSection); });
  if (!value) return EditFile(path_, [&](IniText& text) { text.RemoveKey(fileSection, fileKey); });
  return EditFile(path_, [&](IniText& text) { text.Set(fileSection, fileKey, fileValue); });
}

bool ProfileFile::RewriteSection(std::string_view section, const SectionChange& change) {
  std::string fileSection = ToFile(section);
  if (!IniText::CanHold(fileSection, "", "")) return false;
  bool storable = true;
  bool written = EditFile(path_, [&](IniText& text) {
    KeyValues current;
    for (auto& [key, value] : text.Entries(fileSection)) current.emplace_back(ShiftJisCodec::Decode(key), FromFile(value));
    std::vector<std::pair<std::string, std::string>> wanted;
    for (const auto& [key, value] : change(current)) {
      wanted.emplace_back(ToFile(key), ToFile(value));
      storable = storable && IniText::CanHold(fileSection, wanted.back().first, wanted.back().second);
    }
    if (!storable) return;
    text.RemoveSection(fileSection);
    for (const auto& [key, value] : wanted) text.Set(fileSection, key, value);
  });
  return written && storable;
}
