#pragma once

// The two association commands of the main window: bind an extension the
// user types to the editor's document type, or remove an extension's key
// whatever it names. The key is "." + the extension in the file-type store;
// the desktop is brought in line before the outcome is reported, so a
// success means double-clicking such a file opens the editor from then on.

#include <string>

#include "DesktopLocations.h"
#include "ModalSeam.h"

class CExtensionEntryDlg;
class QWidget;

class ExtensionAssociation {
 public:
  // Whether the system is of the family on which association is refused.
  using PlatformQuery = bool (*)();

  ExtensionAssociation(QWidget* owner, DesktopLocations desktop, PlatformQuery isNtFamily);

  void Associate();
  void RemoveAssociation();

 private:
  bool RefusedByPlatform() const;
  // The key name the user confirmed, or "" when the command ends here.
  std::string AskExtension(CExtensionEntryDlg& dialog, const char* caption) const;
  void Tell(const char* text, const char* caption, platform::MessageIcon icon) const;

  QWidget* m_owner;
  DesktopLocations m_desktop;
  PlatformQuery m_isNtFamily;
};
