#pragma once

// The saves written in place that never finished: the process was killed
// or the machine stopped while a file was being overwritten, so the file
// may hold part new text and part old. Each left its copy of the old
// content (ContentBackup) with a record naming the file, in the directory
// the saves keep their copies in. A copy still locked by its writer (a save
// running in another editor) is not listed.

#include <string>
#include <vector>

class SaveJournal {
 public:
  struct Entry {
    std::string target;  // the file that was being written
    std::string copy;    // its content before the write began
  };

  // The unfinished saves recorded in `directory`, oldest first. Copies a
  // writer left without a record (it was killed before the copy was
  // complete, when the file was not touched yet) are removed on the way.
  static std::vector<Entry> Unfinished(const std::string& directory);
  // Writes the copy back over its file, which stays the same file (its
  // links, owner and attributes), and removes the entry. False, with the
  // system's error number in `error`, when the file could not be written
  // or is no longer the file the copy was taken of.
  static bool Restore(const Entry& entry, int* error);
  // Forgets the entry: removes the copy and its record.
  static void Discard(const Entry& entry);
};
