#pragma once

// The text of a settings file as lines, read and edited in the file's own
// bytes (Shift-JIS): sections in square brackets, "key=value" lines below
// them. Lines that are neither are kept as they are and otherwise ignored,
// so editing one key never disturbs anything else in the file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class IniText {
 public:
  explicit IniText(std::string_view bytes);

  // The value of a key, blanks and one pair of enclosing quotes removed;
  // nothing when the section or key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // The keys and values of a section in file order (values as Find gives
  // them); the first of several sections of the name.
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

  // Whether Set can store these (file bytes) so that Find reads the value
  // back (blanks at its ends and enclosing quotes aside) and nothing else
  // changes: each stays on one line, a section name holds no "]" and a key
  // no "=", names have no blanks at their ends (they are trimmed when read),
  // and a key does not begin with "[", which would make its line a section.
  static bool CanHold(std::string_view section, std::string_view key, std::string_view value);

  // The names of the sections, in file order.
  std::vector<std::string> SectionNames() const;

  // Adds an empty section unless one of the name is there.
  void AddSection(std::string_view section);
  // Sets a key, adding the section and key as needed.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  void RemoveKey(std::string_view section, std::string_view key);
  void RemoveSection(std::string_view section);

  std::string Bytes() const;

 private:
  struct Line {
    std::string text;  // without its line ending
    std::string ending;
  };
  struct SectionRange {
    std::size_t header;  // index of the "[name]" line
    std::size_t end;     // one past its last line
  };

  std::optional<SectionRange> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const SectionRange& range, std::string_view key) const;
  std::string NewLineEnding() const;

  std::vector<Line> lines_;
};
