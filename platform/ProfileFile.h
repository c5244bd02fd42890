#pragma once

// The settings file: an INI file of Shift-JIS text, read and written one key
// at a time. Nothing is cached: every read goes to the file and every write
// reaches it at once, so several editor processes share one file.
//
// Strings cross this interface as UTF-8 and are stored as Shift-JIS through
// the lossless codec. Writes are safe against other processes: each locks
// the file, reads it afresh, changes one key and renames a complete new file
// over the old one, so no process loses another's keys and readers (who take
// no lock) never see half a file (SettingsFileRewrite). A file the user may
// not write is never changed: its writes fail quietly.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ProfileFile {
 public:
  // Values longer than this many bytes (as stored) come back cut.
  static constexpr std::size_t kMaxValueBytes = 4095;

  explicit ProfileFile(std::string path);

  const std::string& Path() const { return path_; }

  // Missing file, section or key gives the default; a key with an empty
  // value gives "" or 0. Integers are read from the value's leading
  // decimal digits, after an optional sign.
  int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const;
  std::string GetProfileString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const;

  // Writes "%d" of the value.
  bool WriteProfileInt(std::string_view section, std::string_view key, int value);
  // No key removes the whole section; a key without a value removes the key.
  // Text the file cannot hold so that it reads back (a line break anywhere,
  // "]" in a section name, "=" in a key: IniText::CanHold) is refused:
  // false, and the file is kept.
  bool WriteProfileString(std::string_view section, std::optional<std::string_view> key,
                          std::optional<std::string_view> value);

  // One section read and rewritten under one lock, so that no other process
  // writes between: `change` gets the keys and values stored now, in file
  // order, and returns those the section is to hold (none removes it).
  // Refused like WriteProfileString when a key or value cannot be stored.
  using KeyValues = std::vector<std::pair<std::string, std::string>>;
  using SectionChange = std::function<KeyValues(const KeyValues& current)>;
  bool RewriteSection(std::string_view section, const SectionChange& change);

 private:
  std::optional<std::string> ReadRaw(std::string_view section, std::string_view key) const;

  std::string path_;
};
