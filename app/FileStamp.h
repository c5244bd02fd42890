#pragma once

// What tells that a file was changed by another program since this one read
// or wrote it: which file the name leads to, its size and its modification
// time (to the nanosecond).

#include <QString>

#include <optional>

struct FileStamp {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  long long size = 0;
  long long modifiedNanoseconds = 0;

  // The stamp of the file `path` names now; nothing when there is none.
  static std::optional<FileStamp> Of(const QString& path);
  bool operator==(const FileStamp&) const = default;
};
