#pragma once

// A user's desktop directories of the test's own: HOME, XDG_CONFIG_HOME and
// XDG_DATA_HOME point into a fresh directory while the object lives, so
// the desktop's tools (GIO, desktop-file-validate) run as for that user.

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <map>
#include <string>

#include "DesktopLocations.h"
#include "TempDir.h"

class DesktopHome {
 public:
  DesktopHome() {
    Set("HOME", dir.Path().string());
    Set("XDG_CONFIG_HOME", dir.File("config"));
    Set("XDG_DATA_HOME", dir.File("data"));
    Set("XDG_CURRENT_DESKTOP", std::nullopt);  // no desktop-specific default lists
    Set("GIO_USE_VFS", std::string("local"));  // no session services needed
  }
  ~DesktopHome() {
    for (const auto& [name, value] : saved_) value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }
  DesktopHome(const DesktopHome&) = delete;
  DesktopHome& operator=(const DesktopHome&) = delete;

  DesktopLocations Locations() const { return DesktopLocations::FromEnvironment(); }
  std::string Store() const { return Locations().ClassesStore(); }

  TempDir dir;

 private:
  void Set(const std::string& name, std::optional<std::string> value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

// Runs one of the desktop's tools and gives what it printed; a tool that
// is missing fails the test (scripts/install-deps installs them).
inline QString RunDesktopTool(const QString& tool, const QStringList& arguments, int* exitCode = nullptr) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) {
    ADD_FAILURE() << tool.toStdString() << " is missing: run scripts/install-deps";
    return {};
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(tool, arguments);
  process.waitForFinished(30000);
  if (exitCode) *exitCode = process.exitCode();
  return QString::fromUtf8(process.readAll());
}

// The MIME type GIO gives a file.
inline QString ContentType(const std::string& path) {
  QString info = RunDesktopTool(QStringLiteral("gio"), {QStringLiteral("info"), QStringLiteral("-a"),
                                                        QStringLiteral("standard::content-type"), QString::fromStdString(path)});
  int at = info.indexOf(QStringLiteral("standard::content-type: "));
  return at < 0 ? info : info.mid(at + 24).trimmed();
}
