#pragma once

// The text of the file-type store: a mirror of a registry tree in a small
// INI-like file. Each key is a section named by its path ("[Kb_zeva3\shell
// \open\command]"), each value a line name="text", the default (unnamed)
// value under the name "@". Texts are kept in double quotes, so blanks and
// quotes inside them come back as they were. A key exists when its section
// does or when a key below it does.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "IniText.h"

class RegistryStoreText {
 public:
  explicit RegistryStoreText(std::string_view bytes);

  bool KeyExists(std::string_view key) const;
  // Every key that has a section of its own, in file order.
  std::vector<std::string> Keys() const;
  // `name` "" is the default value.
  std::optional<std::string> Value(std::string_view key, std::string_view name) const;

  // Whether the key and text can be stored so that they read back.
  static bool CanHold(std::string_view key, std::string_view name, std::string_view text);
  void CreateKey(std::string_view key);
  void SetValue(std::string_view key, std::string_view name, std::string_view text);
  // Removes the key with every key below it; false when there was none.
  bool DeleteKey(std::string_view key);

  std::string Bytes() const { return text_.Bytes(); }

 private:
  IniText text_;
};
