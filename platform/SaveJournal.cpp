#include "SaveJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "ContentBackup.h"

namespace fs = std::filesystem;

namespace {

struct Record {
  std::string target;
  unsigned long long device = 0;
  unsigned long long inode = 0;
};

bool ReadRecord(const std::string& path, Record* record) {
  std::ifstream in(path, std::ios::binary);
  std::string identity;
  if (!std::getline(in, record->target) || !std::getline(in, identity)) return false;
  std::istringstream numbers(identity);
  return static_cast<bool>(numbers >> record->device >> record->inode);
}

// Not locked: no writer holds the copy now.
bool Unlocked(const std::string& copy) {
  int fd = open(copy.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}

bool IsRecordName(const std::string& name) {
  auto endsWith = [&name](const char* suffix) {
    std::string s(suffix);
    return name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0;
  };
  return endsWith(".target") || endsWith(".partial");
}

}  // namespace

std::vector<SaveJournal::Entry> SaveJournal::Unfinished(const std::string& directory) {
  std::vector<std::pair<fs::file_time_type, Entry>> found;
  std::error_code ignored;
  for (const fs::directory_entry& item : fs::directory_iterator(directory, ignored)) {
    std::string copy = item.path().string();
    if (IsRecordName(copy) || !item.is_regular_file(ignored) || !Unlocked(copy)) continue;
    Record record;
    if (!ReadRecord(ContentBackup::RecordOf(copy), &record)) {
      unlink(copy.c_str());  // never finished copying: the file was not touched
      unlink((copy + ".partial").c_str());
      continue;
    }
    found.push_back({item.last_write_time(ignored), {record.target, copy}});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Entry> entries;
  for (auto& [time, entry] : found) entries.push_back(std::move(entry));
  return entries;
}

bool SaveJournal::Restore(const Entry& entry, int* error) {
  Record record;
  if (!ReadRecord(ContentBackup::RecordOf(entry.copy), &record)) {
    *error = ENOENT;
    return false;
  }
  int copy = open(entry.copy.c_str(), O_RDONLY | O_CLOEXEC);
  int file = open(entry.target.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  struct stat copyInfo {}, fileInfo {};
  bool same = copy >= 0 && file >= 0 && fstat(copy, &copyInfo) == 0 && fstat(file, &fileInfo) == 0 &&
              S_ISREG(fileInfo.st_mode) && fileInfo.st_dev == record.device && fileInfo.st_ino == record.inode;
  if (!same) *error = copy < 0 || file < 0 ? errno : ESTALE;  // ESTALE: another file by that name now
  bool restored = same && ContentBackup::CopyBack(copy, file, copyInfo.st_size, error);
  if (copy >= 0) close(copy);
  if (file >= 0) close(file);
  if (restored) Discard(entry);
  return restored;
}

void SaveJournal::Discard(const Entry& entry) {
  unlink(ContentBackup::RecordOf(entry.copy).c_str());
  unlink(entry.copy.c_str());
}
