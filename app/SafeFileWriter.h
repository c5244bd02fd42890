#pragma once

// Writes a document's bytes to its file so that a failure never leaves the
// file damaged, and a success leaves it the same file as before: same
// owner, group, mode bits, ACLs and extended attributes, same hard links.
//
// The ordinary way is a new file beside the old one, given the old one's
// attributes and renamed over it. The old file is written in place instead
// when a new file could not be the same file: it has several hard links,
// its owner or an attribute cannot be given to a new file (a user saving a
// file of another user's that the user may write), or no new file can be
// made in its directory (a writable file in a read-only directory). In
// place, a copy of the old content is kept first and written back if the
// write fails.

#include <QString>

#include <functional>
#include <string>
#include <string_view>

class SafeFileWriter {
 public:
  // Writes `bytes` to `path` (through a symbolic link, to its target). On
  // failure returns false with the reason in words in `reason`.
  static bool Write(const QString& path, const std::string& bytes, QString* reason);
  // The same for bytes handed over in pieces by `pieces`, which is run
  // again for each attempt (a new file, then in place) and must give the
  // same bytes each time. Running out of memory while it runs leaves the
  // file as it was and throws std::bad_alloc.
  using Pieces = std::function<void(const std::function<void(std::string_view)>&)>;
  static bool Write(const QString& path, const Pieces& pieces, QString* reason);

 private:
  explicit SafeFileWriter(const Pieces& pieces) : m_pieces(pieces) {}
  enum class Result { Done, Failed, WriteInPlace };
  Result Replace(const std::string& target);
  Result MakeTemporary(const std::string& directory);
  Result LinkOver(const std::string& target);
  bool WriteInPlace(const std::string& target);
  bool CreateNew(const std::string& target);
  bool WriteBytes(int fd);
  void DiscardTemporary();
  QString Reason() const;

  const Pieces& m_pieces;
  std::size_t m_written = 0;
  bool m_outOfMemory = false;
  int m_fd = -1;
  std::string m_temporaryName;  // empty for an unnamed temporary file
  int m_error = 0;
  bool m_noBackup = false;
  QString m_keptBackup;
};
