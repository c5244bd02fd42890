#pragma once

#include <string>

// Where the settings file "Kb_zeva3.ini" lives:
// - $KB_ZEVA3_INI, a full path, when set (tests use it);
// - beside the executable, when the file is already there, or when the
//   executable runs from its build folder (no installed data beside its
//   folder, PREFIX/share/kb_zeva3), writable and not under /usr;
// - otherwise $XDG_CONFIG_HOME/kb_zeva3/Kb_zeva3.ini (~/.config by default),
//   creating the directory.
std::string SettingsFilePath(const std::string& executableDirectory);

inline constexpr const char* kSettingsFileName = "Kb_zeva3.ini";
