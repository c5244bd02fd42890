#pragma once

// The one way this program replaces the content of a file, a document's or
// the settings file's, so that a failure never leaves the file damaged and
// a success leaves it the same file as far as the file's kind allows.
//
// The ordinary way: the bytes go to a new, unnamed (O_TMPFILE) file in the
// same directory, which then gets the old file's owner, group, extended
// attributes (ACLs among them) and mode bits, and a name beside the old
// file only for the instant before it is renamed over it. A writer killed
// half-way leaves nothing behind, or a name the next writer removes.
//
// Sometimes a new file cannot be the same file: the old one has several
// hard links, its owner or an attribute cannot be given to a new file (a
// user saving another user's file that the user may write), no new file
// may be made in its directory, or a sticky directory forbids the rename.
// What then is the caller's policy:
// - a document is written in place, after a copy of its old content is
//   kept (ContentBackup), which is written back if the write fails;
// - the settings file is never written in place: its lock relies on the
//   name moving to a new file at every write. The new file gets what the
//   user may give (the mode bits always), and where no new file can be made
//   or renamed the write fails.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class SafeReplace {
 public:
  using Sink = std::function<void(std::string_view)>;
  // Hands the bytes to write to the sink in pieces. It is run again for
  // each attempt (a new file, then in place) and must give the same bytes
  // each time.
  using Pieces = std::function<void(const Sink&)>;

  struct Policy {
    // Where the copy of the old content goes while the file is written in
    // place; empty: the file is never written in place.
    std::string backupDirectory;
    // The new file is named FixedTemporaryName(target) before the rename,
    // instead of a fresh random name. Only for a caller holding a lock on
    // the file, which makes the name its alone: a file of that name is what
    // a killed writer left, and goes first.
    bool fixedTemporaryName = false;
    // The content and the rename reach the disk (fsync) before Write returns.
    bool durable = true;
  };

  // Why a write failed.
  struct Failure {
    int error = 0;           // the system's error number
    bool noBackup = false;   // in place, but no copy of the old content could be made
    bool notRegularFile = false;  // the name is a pipe, a device or a folder, never written
    std::string keptBackup;  // the copy of the old content, when it could not be written back
  };

  // The file a write of `path` changes: `path` itself, or the file a
  // symbolic link leads to, so that the link stays. A link to a file not
  // made yet leads to that file when its directory exists; nothing (with
  // errno set) for a link leading nowhere else (a loop, a chain of
  // dangling links, a missing directory).
  static std::optional<std::string> TargetOf(const std::string& path);

  // Writes the bytes of `pieces` to the file `target` (as TargetOf gives
  // it). False, with the cause in `failure` when given, when it failed.
  // Running out of memory while `pieces` runs leaves the file as it was and
  // throws std::bad_alloc.
  static bool Write(const std::string& target, const Pieces& pieces, const Policy& policy, Failure* failure);

  static std::string FixedTemporaryName(const std::string& target) { return target + ".writing"; }

 private:
  SafeReplace(const Pieces& pieces, const Policy& policy) : m_pieces(pieces), m_policy(policy) {}
  enum class Result { Done, Failed, WriteInPlace };
  bool MayWriteInPlace() const { return !m_policy.backupDirectory.empty(); }
  Result Replace(const std::string& target);
  bool CreateNew(const std::string& target);
  Result MakeTemporary(const std::string& target);
  Result LinkOver(const std::string& target);
  bool WriteInPlace(const std::string& target);
  bool WriteBytes(int fd);
  bool Flush(int fd) const;
  void DiscardTemporary();

  const Pieces& m_pieces;
  const Policy& m_policy;
  int m_fd = -1;
  std::string m_temporaryName;  // empty for an unnamed temporary file
  std::size_t m_written = 0;
  bool m_outOfMemory = false;
  Failure m_failure;
};
