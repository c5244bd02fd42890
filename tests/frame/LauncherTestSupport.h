#pragma once

#include <QThread>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"

// A program that writes the arguments it was given, NUL-separated after
// their count, to `record`: what the launcher handed over, byte for byte.
inline void WriteRecorder(const std::string& script, const std::string& record) {
  WriteFileBytes(script, "#!/bin/sh\n"
                         "out='" + record + "'\n"
                         "printf '%s' \"$#\" > \"$out.part\"\n"
                         "for a in \"$@\"; do printf '\\0%s' \"$a\" >> \"$out.part\"; done\n"
                         "mv \"$out.part\" \"$out\"\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

// The arguments recorded, waiting up to ten seconds for the program to run;
// nothing when it never did.
inline std::optional<std::vector<std::string>> RecordedArguments(const std::string& record) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!std::filesystem::exists(record)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    QThread::msleep(20);
  }
  std::string bytes = ReadFileBytes(record);
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type nul = bytes.find('\0', start);
    parts.push_back(bytes.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
    if (nul == std::string::npos) break;
    start = nul + 1;
  }
  parts.erase(parts.begin());  // the count, which the parts repeat
  return parts;
}

// XDG directories of the test's own, with the recorder as the default
// application for text/plain (the system's MIME database still tells types).
class TestDesktop {
 public:
  TestDesktop() {
    s_current = this;
    std::filesystem::create_directories(m_dir.Path() / "data/applications");
    std::filesystem::create_directories(m_dir.Path() / "config");
    setenv("XDG_DATA_HOME", m_dir.File("data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", m_dir.File("config").c_str(), 1);
    setenv("XDG_DATA_DIRS", "/usr/share", 1);
    setenv("XDG_CURRENT_DESKTOP", "", 1);
    WriteRecorder(Recorder(), Record());
    WriteFileBytes(m_dir.File("data/applications/kb-test-recorder.desktop"),
                   "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + Recorder() +
                       " %f\nMimeType=text/plain;\n");
    WriteFileBytes(m_dir.File("config/mimeapps.list"),
                   "[Default Applications]\ntext/plain=kb-test-recorder.desktop\n");
  }
  ~TestDesktop() { s_current = nullptr; }
  // The recorder the desktop starts for plain text, and where it records.
  static std::string Recorder() { return s_current->m_dir.File("record-desktop.sh"); }
  static std::string Record() { return s_current->m_dir.File("desktop-args"); }

 private:
  static inline TestDesktop* s_current = nullptr;
  TempDir m_dir;
};
