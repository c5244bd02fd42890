#pragma once

// A copy of a file's content kept while the file is overwritten in place,
// in a directory of the user's (the caller names it), readable by the user
// alone. If the overwrite fails the copy is written back, so the file is
// never left cut short; the copy is removed once it is not needed.

#include <string>

class ContentBackup {
 public:
  ContentBackup() = default;
  ~ContentBackup();
  ContentBackup(const ContentBackup&) = delete;
  ContentBackup& operator=(const ContentBackup&) = delete;

  // Copies the content of the open file `fd` (named `fileName`) into
  // `directory`, made when missing; on failure returns false with the
  // system's error number in `error`.
  bool Make(int fd, const std::string& directory, const std::string& fileName, int* error);
  // Writes the copy back over `fd` and gives it its old length.
  bool RestoreTo(int fd, int* error) const;
  // Deletes the copy (it is deleted with this object unless kept).
  void Remove();
  // Leaves the copy on disk for the user: the restore failed.
  void Keep() { m_keep = true; }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
  int m_fd = -1;
  long long m_size = 0;
  bool m_keep = false;
};
