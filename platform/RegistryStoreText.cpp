#include "RegistryStoreText.h"

namespace {

// The first line of a new store; its line ending makes the file's.
constexpr std::string_view kHeader = "; Kb_zeva3: the desktop file types of the editor\n";

std::string ValueName(std::string_view name) { return name.empty() ? "@" : std::string(name); }
std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Key names compare without regard to ASCII letter case, as section names do.
bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

bool IsBelow(std::string_view name, std::string_view key) {
  return name.size() > key.size() && name[key.size()] == '\\' && SameKey(name.substr(0, key.size()), key);
}

}  // namespace

RegistryStoreText::RegistryStoreText(std::string_view bytes) : text_(bytes.empty() ? kHeader : bytes) {}

bool RegistryStoreText::KeyExists(std::string_view key) const {
  for (const std::string& name : text_.SectionNames())
    if (SameKey(name, key) || IsBelow(name, key)) return true;
  return false;
}

std::vector<std::string> RegistryStoreText::Keys() const { return text_.SectionNames(); }

std::optional<std::string> RegistryStoreText::Value(std::string_view key, std::string_view name) const {
  return text_.Find(key, ValueName(name));
}

bool RegistryStoreText::CanHold(std::string_view key, std::string_view name, std::string_view text) {
  return !key.empty() && name != "@" &&
         IniText::CanHold(key, ValueName(name), Quoted(text));
}

void RegistryStoreText::CreateKey(std::string_view key) { text_.AddSection(key); }

void RegistryStoreText::SetValue(std::string_view key, std::string_view name, std::string_view text) {
  text_.Set(key, ValueName(name), Quoted(text));
}

bool RegistryStoreText::DeleteKey(std::string_view key) {
  bool found = false;
  for (const std::string& name : text_.SectionNames()) {
    if (!SameKey(name, key) && !IsBelow(name, key)) continue;
    text_.RemoveSection(name);
    found = true;
  }
  return found;
}
