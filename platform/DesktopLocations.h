#pragma once

// Where the desktop looks for a user's own file types, applications and
// icons, and where the editor keeps its file-type store: the XDG base
// directories of the environment ($XDG_CONFIG_HOME, default ~/.config;
// $XDG_DATA_HOME, default ~/.local/share). Tests point both at a directory
// of their own.

#include <string>

struct DesktopLocations {
  std::string configHome;
  std::string dataHome;

  static DesktopLocations FromEnvironment();

  // The editor's file-type store.
  std::string ClassesStore() const { return configHome + "/kb_zeva3/classes.reg"; }
  std::string MimeApps() const { return configHome + "/mimeapps.list"; }
  std::string MimeDirectory() const { return dataHome + "/mime"; }
  std::string ApplicationsDirectory() const { return dataHome + "/applications"; }
  std::string IconThemeDirectory() const { return dataHome + "/icons/hicolor"; }
};
