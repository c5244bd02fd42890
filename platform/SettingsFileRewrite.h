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
// - the new content goes to an unnamed temporary file in the same directory,
//   which gets a name only for the instant before it is renamed over the
//   file; a name left behind by a killed writer is removed by the next one.
//   Mode, owner and group stay those of the old file.

#include <functional>
#include <string>
#include <string_view>

class SettingsFileRewrite {
 public:
  // Gets the file's bytes ("" for a missing file) and returns the new ones.
  using Edit = std::function<std::string(std::string_view current)>;

  // False, with the file as it was, when anything fails.
  static bool Apply(const std::string& path, const Edit& edit);

  // The name the new content has just before it replaces `target`.
  static std::string TemporaryName(const std::string& target) { return target + ".writing"; }
};
