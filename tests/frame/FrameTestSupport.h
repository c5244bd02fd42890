#pragma once

#include <ctime>
#include <filesystem>
#include <vector>

#include <QTest>

#include "CKb_zeva3App.h"
#include "CKb_zeva3Doc.h"
#include "CMainFrame.h"
#include "CommandTarget.h"
#include "GuiTestSupport.h"

// The application's settings file, emptied for each test.
inline ProfileFile& FreshSettings() {
  ProfileFile& profile = CKb_zeva3App::Instance()->Profile();
  std::filesystem::remove(profile.Path());
  return profile;
}

// The main window on screen with a new document, active: what a user
// starting the editor sees.
inline bool ShowWithNewDocument(CMainFrame& frame) {
  frame.Document().OnNewDocument();
  frame.show();
  frame.activateWindow();
  return QTest::qWaitForWindowActive(&frame);
}

// Takes every command and remembers which ones arrived.
class RecordingTarget : public CommandTarget {
 public:
  bool HandlesCommand(int) const override { return true; }
  void OnCommand(int id) override { received.push_back(id); }
  std::vector<int> received;
};

// The local clock through the C library's strftime, not through Qt as the
// program reads it.
inline QString LocalClock(const char* format) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return QString::fromLatin1(text);
}
