#include "RegistryKey.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "RegistryStoreText.h"
#include "SettingsFileRewrite.h"

namespace {

std::optional<std::string> ReadStore(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Applies `change` to the store under its lock; false when the store could
// not be read or written.
template <class Change>
bool EditStore(const std::string& path, Change change) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  return SettingsFileRewrite::Apply(path, [&](std::string_view current) {
    RegistryStoreText store(current);
    change(store);
    std::string bytes = store.Bytes();
    return current.empty() && bytes == RegistryStoreText("").Bytes() ? std::string() : bytes;
  });
}

}  // namespace

RegistryKey::~RegistryKey() { Close(); }

long RegistryKey::Open(const std::string& storePath, const std::string& subKey) {
  Close();
  m_subKey = subKey;
  if (storePath.empty() || !RegistryStoreText::CanHold(subKey, "", "")) return registry::kInvalidParameter;
  if (!EditStore(storePath, [&](RegistryStoreText& store) {
        if (!store.KeyExists(subKey)) store.CreateKey(subKey);
      }))
    return registry::kAccessDenied;
  m_storePath = storePath;
  return registry::kSuccess;
}

long RegistryKey::SetString(std::string_view valueName, std::string_view text) {
  if (!IsOpen()) return registry::kInvalidHandle;
  if (!RegistryStoreText::CanHold(m_subKey, valueName, text)) return registry::kInvalidParameter;
  bool written = EditStore(m_storePath, [&](RegistryStoreText& store) { store.SetValue(m_subKey, valueName, text); });
  return written ? registry::kSuccess : registry::kAccessDenied;
}

long RegistryKey::QueryString(std::string_view valueName, std::string& out) const {
  if (!IsOpen()) return registry::kInvalidHandle;
  std::optional<std::string> bytes = ReadStore(m_storePath);
  if (!bytes) return registry::kNotFound;
  std::optional<std::string> value = RegistryStoreText(*bytes).Value(m_subKey, valueName);
  if (!value) return registry::kNotFound;
  if (value->size() + 1 > kQueryBufferBytes) return registry::kMoreData;
  out = *value;
  return registry::kSuccess;
}

void RegistryKey::Close() { m_storePath.clear(); }

long RegistryKey::Delete(const std::string& storePath, std::string_view subKey) {
  std::optional<std::string> bytes = ReadStore(storePath);
  if (!bytes || !RegistryStoreText(*bytes).KeyExists(subKey)) return registry::kNotFound;
  bool found = false;
  bool written = SettingsFileRewrite::Apply(storePath, [&](std::string_view current) {
    RegistryStoreText store(current);
    found = store.DeleteKey(subKey);
    return found ? store.Bytes() : std::string(current);
  });
  if (!written) return registry::kAccessDenied;
  return found ? registry::kSuccess : registry::kNotFound;
}
