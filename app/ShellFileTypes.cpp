#include "ShellFileTypes.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "DesktopNames.h"
#include "RegistryKey.h"
#include "RegistryStoreText.h"
#include "ShellCommandText.h"

namespace {

using desktop::kFileTypeId;

void SetDefault(const std::string& storePath, const std::string& key, const std::string& value) {
  RegistryKey registryKey;
  if (registryKey.Open(storePath, key) == registry::kSuccess) registryKey.SetString("", value);
}

// The icon value names the executable and an icon index. The main window
// sets the index at every start; a value naming this executable keeps the
// index it has, so that a second editor starting at the same moment never
// sees it step back.
void RegisterIcon(const std::string& storePath, const std::string& executable) {
  std::string key = std::string(kFileTypeId) + "\\DefaultIcon";
  RegistryKey registryKey;
  if (registryKey.Open(storePath, key) != registry::kSuccess) return;
  std::string current;
  registryKey.QueryString("", current);
  if (current.size() == executable.size() + 2 && current.starts_with(executable + ",")) return;
  registryKey.SetString("", executable + ",1");
}

std::vector<std::string> ExtensionsNamingUs(const std::string& storePath) {
  std::ifstream in(storePath, std::ios::binary);
  RegistryStoreText store(std::string(std::istreambuf_iterator<char>(in), {}));
  std::vector<std::string> keys;
  for (const std::string& key : store.Keys())
    if (key.starts_with('.') && store.Value(key, "") == kFileTypeId) keys.push_back(key);
  return keys;
}

}  // namespace

void RegisterShellFileTypes(const std::string& storePath, const std::string& executable) {
  std::string exe = QuoteCommandArgument(executable);
  std::string shell = std::string(kFileTypeId) + "\\shell\\";
  SetDefault(storePath, kFileTypeId, desktop::kFileTypeName);
  RegisterIcon(storePath, executable);
  SetDefault(storePath, shell + "open\\command", exe + " \"%1\"");
  SetDefault(storePath, shell + "print\\command", exe + " /p \"%1\"");
  SetDefault(storePath, shell + "printto\\command", exe + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
  // ".txt" is bound only while no program has it. Here the desktop's MIME
  // database always gives it a type (text/plain) whose handler the user
  // chose, so it is left alone; association binds it on request.
}

bool UnregisterShellFileTypes(const std::string& storePath) {
  bool complete = true;
  std::vector<std::string> keys = ExtensionsNamingUs(storePath);
  keys.push_back(kFileTypeId);
  for (const std::string& key : keys) {
    long result = RegistryKey::Delete(storePath, key);
    complete = complete && (result == registry::kSuccess || result == registry::kNotFound);
  }
  return complete;
}
