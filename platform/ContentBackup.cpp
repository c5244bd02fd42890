#include "ContentBackup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {
constexpr std::size_t kCopyPiece = 1 << 20;
}  // namespace

bool ContentBackup::CopyContent(int from, int to, long long size, int* error) {
  std::vector<char> buffer(kCopyPiece);
  for (long long done = 0; done < size;) {
    ssize_t got = pread(from, buffer.data(), buffer.size(), done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      *error = got < 0 ? errno : EIO;  // the file got shorter meanwhile
      return false;
    }
    for (ssize_t put = 0; put < got;) {
      ssize_t written = pwrite(to, buffer.data() + put, static_cast<std::size_t>(got - put), done + put);
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) {
        *error = errno;
        return false;
      }
      put += written;
    }
    done += got;
  }
  return true;
}

ContentBackup::~ContentBackup() {
  if (!m_keep) Remove();
  if (m_fd >= 0) close(m_fd);
}

bool ContentBackup::Make(int fd, const std::string& directory, const std::string& target, int* error) {
  *error = 0;
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    *error = errno;
    return false;
  }
  std::error_code made;
  if (!std::filesystem::create_directories(directory, made) && made) {
    std::error_code ignored;
    *error = std::filesystem::exists(directory, ignored) ? ENOTDIR : made.value();
    return false;
  }
  std::string pattern = directory + "/" + target.substr(target.rfind('/') + 1) + ".XXXXXX";
  m_fd = mkostemp(pattern.data(), O_CLOEXEC);  // mode 0600: the text may be private
  if (m_fd < 0) {
    *error = errno;
    return false;
  }
  m_path = pattern;
  m_size = info.st_size;
  // Held until this process closes the copy or ends: a copy that is not
  // locked belongs to a write that never finished.
  flock(m_fd, LOCK_EX);
  if (!CopyContent(fd, m_fd, m_size, error) || fsync(m_fd) != 0 ||
      !WriteRecord(target, info.st_dev, info.st_ino, error)) {
    if (*error == 0) *error = errno;
    Remove();
    return false;
  }
  return true;
}

// "path\ndevice inode\n", complete on disk before the file is touched: a
// copy with a record is a whole copy.
bool ContentBackup::WriteRecord(const std::string& target, dev_t device, ino_t inode, int* error) {
  std::string record = target + "\n" + std::to_string(device) + " " + std::to_string(inode) + "\n";
  std::string partial = m_path + ".partial";
  int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  bool written = fd >= 0 && write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size()) &&
                 fsync(fd) == 0;
  if (fd >= 0) close(fd);
  if (!written || rename(partial.c_str(), RecordOf(m_path).c_str()) != 0) {
    *error = errno;
    unlink(partial.c_str());
    return false;
  }
  std::string directory = m_path.substr(0, m_path.rfind('/'));
  int directoryFd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directoryFd >= 0) {
    fsync(directoryFd);
    close(directoryFd);
  }
  return true;
}

bool ContentBackup::RestoreTo(int fd, int* error) const { return CopyBack(m_fd, fd, m_size, error); }

bool ContentBackup::CopyBack(int copy, int fd, long long size, int* error) {
  if (!CopyContent(copy, fd, size, error)) return false;
  if (ftruncate(fd, size) != 0 || fsync(fd) != 0) {
    *error = errno;
    return false;
  }
  return true;
}

// The record goes first: a copy without one is never offered back.
void ContentBackup::Remove() {
  if (m_path.empty()) return;
  unlink(RecordOf(m_path).c_str());
  unlink(m_path.c_str());
  m_path.clear();
}
