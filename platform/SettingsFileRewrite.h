#pragma once

// Replaces the content of a settings file with a function of what it holds
// now, safely against other editor processes, killed writers and files the
// user may not change:
// - the exclusive lock is taken on the settings file itself, on a read-only
//   descriptor, so no lock file is ever made and it does not matter who
//   created the file; a writer that finds the name moved to a new file
//   while it waited locks again, the new one;
// - a symbolic link is followed and the file it leads to is rewritten; a
//   link to anything but a regular file (a device, a directory) is never
//   written, and nothing is made beside it;
// - a file without write permission for this user (0444, also for root, who
//   may write anything) is never replaced;
// - the new content replaces the file as a document's does (SafeReplace),
//   but never in place, as the lock needs the name to move to a new file at
//   every write: an unnamed temporary file in the same directory gets the
//   fixed name "<file>.writing" only for the instant before it is renamed
//   over the file, and a name left behind by a killed writer is removed by
//   the next one. Mode, owner, group, ACLs and extended attributes stay those of the
//   old file as far as the user may give them (the mode always); a second
//   hard link keeps the old content.

#include <functional>
#include <string>
#include <string_view>

class SettingsFileRewrite {
 public:
  // Gets the file's bytes ("" for a missing file) and returns the new ones.
  using Edit = std::function<std::string(std::string_view current)>;

  // False, with the file as it was, when anything fails.
  static bool Apply(const std::string& path, const Edit& edit);
};
