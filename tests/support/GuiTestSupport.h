#pragma once

// Shared pieces of the widget tests: a settings file of the test's own, and
// a stand-in for the user that answers message boxes and records them.

#include <gtest/gtest.h>

#include <QColor>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdlib>
#include <deque>
#include <vector>

#include "ModalSeam.h"
#include "ProfileFile.h"
#include "TempDir.h"

// Stands in for the keyboard focus coming back to the view, which makes
// the text writable at the view's next timer tick. The focus as a user
// moves it (dialogs, other windows) is the end-to-end tests' (tests/e2e).
template <class View>
void WritableAsWhenFocusReturns(View& view) {
  view.MakeWritable();
}

// Settings in a fresh directory; the environment points the program at it.
struct TestSettings {
  TestSettings() { setenv("KB_ZEVA3_INI", path.c_str(), 1); }
  TempDir dir;
  std::string path = dir.File("Kb_zeva3.ini");
  ProfileFile profile{path};
};

// Answers every message box with the next queued answer (OK / Yes when none
// is queued) and keeps what was asked. Any other dialog a test did not
// expect fails the test and is cancelled, never shown: a real dialog would
// wait for a person forever.
class ScriptedUser {
 public:
  ScriptedUser() {
    platform::SetFontHandler([](const platform::FontChoice&) {
      ADD_FAILURE() << "unexpected font dialog";
      return std::optional<platform::FontChoice>();
    });
    platform::SetColourHandler([](const QColor&) {
      ADD_FAILURE() << "unexpected colour dialog";
      return std::optional<QColor>();
    });
    platform::SetSavePathHandler([](const QString&) {
      ADD_FAILURE() << "unexpected save dialog";
      return std::optional<QString>();
    });
    platform::SetOpenPathHandler([](const QStringList&) {
      ADD_FAILURE() << "unexpected open dialog";
      return std::optional<QString>();
    });
    platform::SetDialogHandler([](QDialog&) {
      ADD_FAILURE() << "unexpected dialog";
      return 0;
    });
    platform::SetProgramHandler([](const QString& program, const QStringList&) {
      ADD_FAILURE() << "unexpected start of " << program.toStdString();
      return false;
    });
    platform::SetDesktopHandler([](const QUrl& url) {
      ADD_FAILURE() << "unexpected opening of " << url.toString().toStdString();
      return false;
    });
    platform::SetMessageHandler([this](const platform::MessageRequest& request) {
      asked.push_back(request);
      if (answers.empty()) {
        bool yesNo = request.buttons == platform::MessageButtons::YesNo ||
                     request.buttons == platform::MessageButtons::YesNoCancel;
        return yesNo ? platform::MessageAnswer::Yes : platform::MessageAnswer::Ok;
      }
      platform::MessageAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    });
  }
  ~ScriptedUser() {
    platform::SetMessageHandler({});
    platform::SetFontHandler({});
    platform::SetColourHandler({});
    platform::SetSavePathHandler({});
    platform::SetOpenPathHandler({});
    platform::SetDialogHandler({});
    platform::SetProgramHandler({});
    platform::SetDesktopHandler({});
  }
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;

  std::deque<platform::MessageAnswer> answers;
  std::vector<platform::MessageRequest> asked;
};
