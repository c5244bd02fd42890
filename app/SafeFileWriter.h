#pragma once

// Writes a document's bytes to its file so that a failure never leaves the
// file damaged, and a success leaves it the same file as before: same
// owner, group, mode bits, ACLs and extended attributes, same hard links.
// The work is SafeReplace's, with the document's policy: where a new file
// could not be the same file, the old one is written in place, with a copy
// of its old content kept in the user's cache directory meanwhile. This
// layer gives the reasons of a failure in the user's words.

#include <QString>

#include <string>

#include "SafeReplace.h"

class SafeFileWriter {
 public:
  // Writes `bytes` to `path` (through a symbolic link, to its target). On
  // failure returns false with the reason in words in `reason`.
  static bool Write(const QString& path, const std::string& bytes, QString* reason);
  // The same for bytes handed over in pieces by `pieces`, which is run
  // again for each attempt (a new file, then in place) and must give the
  // same bytes each time. Running out of memory while it runs leaves the
  // file as it was and throws std::bad_alloc.
  using Pieces = SafeReplace::Pieces;
  static bool Write(const QString& path, const Pieces& pieces, QString* reason);

  // A system error number in the user's words.
  static QString InWords(int error);

 private:
  static QString Reason(const SafeReplace::Failure& failure);
};
