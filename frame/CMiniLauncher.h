#pragma once

// The mini launcher's two commands, answered for the document (after its
// own commands in the routing order): launch hands the saved document's
// file to the application of its type or to the registered program, or
// only starts that program; settings runs dialog 151. "Lunch"/"Path" and
// "Lunch"/"Mode" in the settings file.

#include <QString>

#include "CommandTarget.h"

class CKb_zeva3Doc;
class ProfileFile;
class QWidget;

class CMiniLauncher : public CommandTarget {
 public:
  enum Mode { AssociatedApp = 0, RegisteredApp = 1, RunOnly = 2 };

  // `owner` owns the messages (the main window).
  CMiniLauncher(ProfileFile& profile, const CKb_zeva3Doc& document, QWidget* owner);

  bool HandlesCommand(int id) const override;
  void OnCommand(int id) override;

  void Launch();
  void EditSettings();

  // The registered program as it would be started, or empty when it is
  // missing or not executable; a name without a slash is looked up in PATH.
  static QString ResolveProgram(const QString& program);
  // A path to something there, runnable or not.
  static bool Exists(const QString& program);

 private:
  static const CommandMap<CMiniLauncher>& Commands();
  void LaunchAssociated(const QString& document);
  void LaunchRegistered(const QString& program, const QString& document, bool withDocument);
  void Tell(const char* text);

  ProfileFile& m_profile;
  const CKb_zeva3Doc& m_document;
  QWidget* m_owner;
};
