#pragma once

// Shows the file-type store to the desktop, the freedesktop way, in the
// user's own directories:
// - the document type as a MIME type of ours, a kind of text/plain, with one
//   glob for each extension whose key names the type (weight 80: above the
//   system's own patterns, so the extension is ours);
// - the editor as an application that opens that type (and prints it), its
//   Exec taken from the store's open and print commands;
// - the editor as the default application of that type (mimeapps.list,
//   every other line of which stays as it is);
// - the document icon the DefaultIcon index chooses, and the program icon.
// What the store does not hold is removed, so an empty store takes every
// trace of the editor away again. A file is written only when its content
// changes, and the desktop's caches are rebuilt only then; a missing cache
// tool is no failure.

#include <optional>
#include <string>
#include <vector>

#include "DesktopLocations.h"

class RegistryStoreText;

class DesktopExport {
 public:
  // A file with the content it should have; none: it should not exist.
  struct File {
    std::string path;
    std::optional<std::string> content;
  };
  struct Plan {
    File mimePackage;
    File desktopEntry;
    std::vector<File> icons;
    bool defaultApplication = false;  // we are our type's default
  };

  // What the desktop's files should be for this store.
  static Plan PlanFor(const RegistryStoreText& store, const DesktopLocations& locations);

  // Brings the files in line with the store at locations.ClassesStore().
  // False when a file could not be written or removed.
  static bool Export(const DesktopLocations& locations);

  // The cache tools, each given the directory to rebuild.
  static constexpr const char* kMimeTool = "update-mime-database";
  static constexpr const char* kDesktopTool = "update-desktop-database";
};
