#include "SettingsLocation.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// An installed copy has its data beside its bin folder (PREFIX/bin and
// PREFIX/share/kb_zeva3); a copy run from its build folder has not.
bool IsInstalledCopy(const fs::path& directory) {
  std::error_code error;
  return fs::is_directory(fs::path(directory) / ".." / "share" / "kb_zeva3", error);
}

bool IsSystemLocation(const fs::path& directory) {
  std::string text = directory.lexically_normal().string();
  return text == "/usr" || text.starts_with("/usr/");
}

fs::path ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg && fs::path(xdg).is_absolute()) return xdg;
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".config";
}

}  // namespace

std::string SettingsFilePath(const std::string& executableDirectory) {
  if (const char* overridden = std::getenv("KB_ZEVA3_INI"); overridden && *overridden) return overridden;
  fs::path besideExecutable = fs::path(executableDirectory) / kSettingsFileName;
  std::error_code error;
  if (fs::exists(besideExecutable, error)) return besideExecutable.string();
  if (!IsInstalledCopy(executableDirectory) && !IsSystemLocation(executableDirectory) &&
      access(executableDirectory.c_str(), W_OK) == 0)
    return besideExecutable.string();
  fs::path directory = ConfigHome() / "kb_zeva3";
  fs::create_directories(directory, error);
  return (directory / kSettingsFileName).string();
}
