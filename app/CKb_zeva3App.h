#pragma once

#include <QApplication>

#include <optional>
#include <string>
#include <string_view>

#include "CommandTarget.h"
#include "ProfileFile.h"
#include "RecentFileList.h"

class CKb_zeva3Doc;

// The application object. It fixes where the settings file lies before
// anything else reads a setting, offers the four profile operations on that
// one file, keeps the recent-file list, and handles File > New, File > Open,
// the recent files and the version dialog.
class CKb_zeva3App : public QApplication, public CommandTarget {
  Q_OBJECT

 public:
  CKb_zeva3App(int& argc, char** argv);

  // The one application object, for code that has no other way to it.
  static CKb_zeva3App* Instance();

  const std::string& SettingsPath() const { return m_profile.Path(); }
  ProfileFile& Profile() { return m_profile; }
  const RecentFileList& RecentFiles() const { return m_recentFiles; }

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

  // The document and window the commands act on.
  void Attach(CKb_zeva3Doc* document, QWidget* mainWindow);
  // Writes the recent-file list and the preview page count back: at exit,
  // and only for a process that really started the editor.
  void SaveStandardSettings();
  // How many pages print preview shows side by side (0: not set yet).
  int PreviewPages() const { return m_previewPages; }
  void SetPreviewPages(int pages) { m_previewPages = pages; }

  // File > Open's filters, the first selected when the dialog opens.
  static QStringList OpenFilters();

  bool HandlesCommand(int id) const override;
  void OnCommand(int id) override;
  bool OnUpdateCommand(int id, CommandUpdate& update) override;

 private:
  static const CommandMap<CKb_zeva3App>& Commands();
  void OnFileOpen();
  void OnRecentFile(int index);

  ProfileFile m_profile;
  RecentFileList m_recentFiles;
  int m_previewPages = 0;
  QString m_lastOpenFolder;
  CKb_zeva3Doc* m_document = nullptr;
  QWidget* m_mainWindow = nullptr;
};
