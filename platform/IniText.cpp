#include "IniText.h"

#include "ShiftJisCodec.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Section and key names match without regard to ASCII letter case. They are
// Shift-JIS bytes, whose trail bytes may be ASCII letters (0x41-0x5A): only
// bytes outside a two-byte character are folded.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  bool trail = false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (trail) {
      if (a[i] != b[i]) return false;
      trail = false;
      continue;
    }
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    trail = kanji::ShiftJisCodec::IsLeadByte(static_cast<unsigned char>(a[i]));
  }
  return true;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyValue {
  std::string_view key, value;
};

std::optional<KeyValue> SplitKeyValue(std::string_view line) {
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyValue{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

IniText::IniText(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t lf = bytes.find('\n', pos);
    std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    // A line ends at LF or CR LF; a CR on its own is part of the text.
    bool crlf = lf != std::string_view::npos && end > pos && bytes[end - 1] == '\r';
    std::size_t textEnd = crlf ? end - 1 : end;
    std::string ending = crlf ? "\r\n" : (lf != std::string_view::npos ? "\n" : "");
    lines_.push_back({std::string(bytes.substr(pos, textEnd - pos)), std::move(ending)});
    pos = end + (lf != std::string_view::npos ? 1 : 0);
  }
}

std::optional<IniText::SectionRange> IniText::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view text = lines_[i].text;
    if (i == 0 && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    std::optional<std::string_view> name = SectionName(text);
    if (!name || !SameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end].text)) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniText::FindKey(const SectionRange& range, std::string_view key) const {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    std::optional<KeyValue> kv = SplitKeyValue(lines_[i].text);
    if (kv && SameName(kv->key, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniText::Find(std::string_view section, std::string_view key) const {
  std::optional<SectionRange> range = FindSection(section);
  if (!range) return std::nullopt;
  std::optional<std::size_t> line = FindKey(*range, key);
  if (!line) return std::nullopt;
  return std::string(Unquote(SplitKeyValue(lines_[*line].text)->value));
}

bool IniText::CanHold(std::string_view section, std::string_view key, std::string_view value) {
  auto oneLine = [](std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; };
  auto trimmed = [](std::string_view name) { return Trim(name) == name; };
  return oneLine(section) && oneLine(key) && oneLine(value) && section.find(']') == std::string_view::npos &&
         key.find('=') == std::string_view::npos && trimmed(section) && trimmed(key) && !key.starts_with('[');
}

std::vector<std::pair<std::string, std::string>> IniText::Entries(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  std::optional<SectionRange> range = FindSection(section);
  if (!range) return entries;
  for (std::size_t i = range->header + 1; i < range->end; ++i)
    if (std::optional<KeyValue> kv = SplitKeyValue(lines_[i].text))
      entries.emplace_back(std::string(kv->key), std::string(Unquote(kv->value)));
  return entries;
}

std::string IniText::NewLineEnding() const {
  for (const Line& line : lines_)
    if (!line.ending.empty()) return line.ending;
  return "\r\n";
}

std::vector<std::string> IniText::SectionNames() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view text = lines_[i].text;
    if (i == 0 && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    if (std::optional<std::string_view> name = SectionName(text)) names.emplace_back(*name);
  }
  return names;
}

void IniText::AddSection(std::string_view section) {
  if (FindSection(section)) return;
  if (!lines_.empty() && lines_.back().ending.empty()) lines_.back().ending = NewLineEnding();
  lines_.push_back({"[" + std::string(section) + "]", NewLineEnding()});
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string text = std::string(key) + "=" + std::string(value);
  std::optional<SectionRange> range = FindSection(section);
  if (!range) {
    AddSection(section);
    lines_.push_back({text, NewLineEnding()});
    return;
  }
  if (std::optional<std::size_t> line = FindKey(*range, key)) {
    std::string_view old = lines_[*line].text;
    // Keep the key as the file spells it.
    lines_[*line].text = std::string(Trim(old.substr(0, old.find('=')))) + "=" + std::string(value);
    return;
  }
  // After the section's last non-blank line, so blank separators stay last.
  std::size_t insert = range->end;
  while (insert > range->header + 1 && Trim(lines_[insert - 1].text).empty()) --insert;
  if (lines_[insert - 1].ending.empty()) lines_[insert - 1].ending = NewLineEnding();
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), Line{text, NewLineEnding()});
}

void IniText::RemoveKey(std::string_view section, std::string_view key) {
  std::optional<SectionRange> range = FindSection(section);
  if (!range) return;
  if (std::optional<std::size_t> line = FindKey(*range, key))
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
}

void IniText::RemoveSection(std::string_view section) {
  while (std::optional<SectionRange> range = FindSection(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
  }
}

std::string IniText::Bytes() const {
  std::string bytes;
  for (const Line& line : lines_) bytes += line.text + line.ending;
  return bytes;
}
