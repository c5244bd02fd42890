#include "DocumentIcon.h"

#include "DesktopNames.h"
#include "RegistryKey.h"

namespace {

// Where the last character of a UTF-8 text begins.
std::size_t LastCharacter(const std::string& text) {
  std::size_t start = text.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
  return start;
}

}  // namespace

void AdjustDocumentIcon(const std::string& storePath) {
  RegistryKey key;
  if (key.Open(storePath, std::string(desktop::kFileTypeId) + "\\DefaultIcon") != registry::kSuccess) return;
  std::string value;
  if (key.QueryString("", value) != registry::kSuccess) value.clear();
  if (!value.empty() && LastCharacter(value) > 0) {
    value.resize(LastCharacter(value));
    value += '2';
    key.SetString("", value);
  }
  key.Close();
}
