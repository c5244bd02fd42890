#pragma once

// A copy of a file's content kept while the file is overwritten in place,
// in a directory of the user's (the caller names it), readable by the user
// alone. If the overwrite fails the copy is written back, so the file is
// never left cut short; the copy is removed once it is not needed.
//
// The copy is also the journal of the write: beside it a record names the
// file it belongs to, and the writer holds a lock on the copy while it
// writes. A writer killed half-way (or a machine that stopped) leaves the
// copy, its record and no lock: SaveJournal finds it there.

#include <sys/types.h>

#include <string>

class ContentBackup {
 public:
  ContentBackup() = default;
  ~ContentBackup();
  ContentBackup(const ContentBackup&) = delete;
  ContentBackup& operator=(const ContentBackup&) = delete;

  // Copies the content of the open file `fd`, which is `target`, into
  // `directory`, made when missing, and records which file it is; on
  // failure returns false with the system's error number in `error`.
  bool Make(int fd, const std::string& directory, const std::string& target, int* error);
  // Writes the copy back over `fd` and gives it its old length.
  bool RestoreTo(int fd, int* error) const;
  // Deletes the copy and its record (they are deleted with this object
  // unless kept).
  void Remove();
  // Leaves the copy on disk for the user: the restore failed.
  void Keep() { m_keep = true; }
  const std::string& Path() const { return m_path; }

  // Writes `size` bytes of the copy `copy` over the file `fd` and gives it
  // that length, durably.
  static bool CopyBack(int copy, int fd, long long size, int* error);

  // The record beside the copy `copy`.
  static std::string RecordOf(const std::string& copy) { return copy + ".target"; }

 private:
  // Copies `size` bytes from the start of `from` to the start of `to`.
  static bool CopyContent(int from, int to, long long size, int* error);
  bool WriteRecord(const std::string& target, dev_t device, ino_t inode, int* error);

  std::string m_path;
  int m_fd = -1;
  long long m_size = 0;
  bool m_keep = false;
};
