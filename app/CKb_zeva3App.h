#pragma once

#include <QApplication>

#include <optional>
#include <string>
#include <string_view>

#include "ProfileFile.h"

// The application object. It fixes where the settings file lies before
// anything else reads a setting, and offers the four profile operations on
// that one file to every part of the program.
class CKb_zeva3App : public QApplication {
  Q_OBJECT

 public:
  CKb_zeva3App(int& argc, char** argv);

  // The one application object, for code that has no other way to it.
  static CKb_zeva3App* Instance();

  const std::string& SettingsPath() const { return m_profile.Path(); }
  ProfileFile& Profile() { return m_profile; }

  int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const {
    return m_profile.GetProfileInt(section, key, defaultValue);
  }
  std::string GetProfileString(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    return m_profile.GetProfileString(section, key, defaultValue);
  }
  bool WriteProfileInt(std::string_view section, std::string_view key, int value) {
    return m_profile.WriteProfileInt(section, key, value);
  }
  bool WriteProfileString(std::string_view section, std::optional<std::string_view> key,
                          std::optional<std::string_view> value) {
    return m_profile.WriteProfileString(section, key, value);
  }

 private:
  ProfileFile m_profile;
};
