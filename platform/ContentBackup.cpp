#include "ContentBackup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr std::size_t kCopyPiece = 1 << 20;

// Copies `size` bytes from the start of `from` to the start of `to`.
bool CopyContent(int from, int to, long long size, int* error) {
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

}  // namespace

ContentBackup::~ContentBackup() {
  if (!m_keep) Remove();
  if (m_fd >= 0) close(m_fd);
}

bool ContentBackup::Make(int fd, const std::string& directory, const std::string& fileName, int* error) {
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
  std::string pattern = directory + "/" + fileName + ".XXXXXX";
  m_fd = mkostemp(pattern.data(), O_CLOEXEC);  // mode 0600: the text may be private
  if (m_fd < 0) {
    *error = errno;
    return false;
  }
  m_path = pattern;
  m_size = info.st_size;
  if (!CopyContent(fd, m_fd, m_size, error) || fsync(m_fd) != 0) {
    if (*error == 0) *error = errno;
    Remove();
    return false;
  }
  return true;
}

bool ContentBackup::RestoreTo(int fd, int* error) const {
  if (!CopyContent(m_fd, fd, m_size, error)) return false;
  if (ftruncate(fd, m_size) != 0 || fsync(fd) != 0) {
    *error = errno;
    return false;
  }
  return true;
}

void ContentBackup::Remove() {
  if (!m_path.empty()) unlink(m_path.c_str());
  m_path.clear();
}
