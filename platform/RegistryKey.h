#pragma once

// One open key of the editor's file-type store (RegistryStoreText in the
// file DesktopLocations::ClassesStore names). Opening creates the key when
// it is missing; values are strings; the key closes when the object goes.
// Results are the platform's codes: 0 for success, otherwise the reason.
//
// Every operation reads the store afresh and writes it under the settings
// file's discipline (SettingsFileRewrite: a lock on the file, a complete
// new file renamed over the old one), so several editors starting at once
// never lose each other's keys. Nothing is written when nothing changes.

#include <string>
#include <string_view>

namespace registry {
inline constexpr long kSuccess = 0;
inline constexpr long kNotFound = 2;           // no such key or value
inline constexpr long kAccessDenied = 5;       // the store cannot be written
inline constexpr long kInvalidHandle = 6;      // the key is not open
inline constexpr long kInvalidParameter = 87;  // a name or text the store cannot hold
inline constexpr long kMoreData = 234;         // the value is longer than the reader's buffer
}  // namespace registry

class RegistryKey {
 public:
  // What a query takes, terminator included.
  static constexpr std::size_t kQueryBufferBytes = 200;

  RegistryKey() = default;
  virtual ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens `subKey` of the store at `storePath`, creating it (and the store
  // with its directory) when missing.
  long Open(const std::string& storePath, const std::string& subKey);
  // `valueName` "" is the key's default value.
  long SetString(std::string_view valueName, std::string_view text);
  // Assigns `out` only on success; a value of kQueryBufferBytes bytes or
  // more does not fit and gives kMoreData.
  long QueryString(std::string_view valueName, std::string& out) const;
  void Close();

  bool IsOpen() const { return !m_storePath.empty(); }
  const std::string& SubKey() const { return m_subKey; }

  // Removes a key with everything below it.
  static long Delete(const std::string& storePath, std::string_view subKey);

 private:
  std::string m_storePath;  // empty while closed
  std::string m_subKey;
};
