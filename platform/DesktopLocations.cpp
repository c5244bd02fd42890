#include "DesktopLocations.h"

#include <cstdlib>

namespace {

std::string Home() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/tmp";
}

// A relative value is invalid by the base directory rules and is ignored.
std::string BaseDirectory(const char* variable, const char* underHome) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  return Home() + underHome;
}

}  // namespace

DesktopLocations DesktopLocations::FromEnvironment() {
  return {BaseDirectory("XDG_CONFIG_HOME", "/.config"), BaseDirectory("XDG_DATA_HOME", "/.local/share")};
}
