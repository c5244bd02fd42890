#include "SettingsFileRewrite.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

#include "SafeReplace.h"

namespace {

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Another program holding the lock this long (a stuck editor, a user's
// `flock`) is not waited for: the write fails, as a write the user may not
// make does, and the window goes on.
constexpr auto kLockPatience = std::chrono::seconds(2);
constexpr auto kLockRetry = std::chrono::milliseconds(20);

bool LockWithin(int fd, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kLockRetry);
  }
}

// Root's rights pass every permission check, so a file without any write bit
// counts as read-only for root as well.
bool MayReplace(const std::string& path, const struct stat& info) {
  return (info.st_mode & 0222) != 0 && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);  // also releases a lock held through it
  }
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }

 private:
  int fd_;
};

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Root running the editor with a user's settings path makes the file the
// user's (the owner of its directory), as a rewrite keeps an existing file's
// owner: a file of root's would refuse every later write of the user's.
FileDescriptor CreateOwnedLikeItsDirectory(const std::string& target, int flags) {
  FileDescriptor fd(open(target.c_str(), flags | O_CREAT | O_EXCL, 0666));
  struct stat directory;
  if (fd.Valid() && geteuid() == 0 && stat(DirectoryOf(target).c_str(), &directory) == 0)
    (void)fchown(fd.Get(), directory.st_uid, directory.st_gid);
  if (!fd.Valid() && errno == EEXIST) return FileDescriptor(open(target.c_str(), flags));
  return fd;
}

// Opens `target` (creating it empty when missing) and locks it, waiting at
// most kLockPatience for another holder of the lock. Readers and
// writers find the file by name and the name moves to a new file at every
// write, so the lock counts only once the name still leads to the locked
// file. O_NONBLOCK: a FIFO put in the file's place must not hang the open.
FileDescriptor LockCurrentFile(const std::string& target, struct stat& info) {
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  const auto deadline = std::chrono::steady_clock::now() + kLockPatience;
  for (;;) {
    FileDescriptor fd(open(target.c_str(), kFlags));
    if (!fd.Valid() && errno == ENOENT) fd = CreateOwnedLikeItsDirectory(target, kFlags);
    if (!fd.Valid() || fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return FileDescriptor();
    if (!LockWithin(fd.Get(), deadline)) return FileDescriptor();
    struct stat now;
    if (stat(target.c_str(), &now) == 0 && SameFile(now, info)) {
      fstat(fd.Get(), &info);  // the mode as it is now that the file is ours
      return fd;
    }
  }
}

std::optional<std::string> ReadAll(int fd) {
  std::string bytes;
  char buffer[65536];
  for (off_t offset = 0;;) {
    ssize_t n = pread(fd, buffer, sizeof buffer, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
    offset += n;
  }
}

// The settings file's way of the one safe replace: under the caller's lock,
// so the fixed temporary name is this writer's alone; never in place, since
// the lock counts only while the name moves to a new file at every write;
// and not flushed to the disk each time, as every setting changed is a
// write of its own.
SafeReplace::Policy SettingsPolicy() {
  SafeReplace::Policy policy;
  policy.fixedTemporaryName = true;
  policy.durable = false;
  return policy;
}

}  // namespace

bool SettingsFileRewrite::Apply(const std::string& path, const Edit& edit) {
  std::optional<std::string> target = SafeReplace::TargetOf(path);
  if (!target) return false;
  struct stat info;
  if (stat(target->c_str(), &info) == 0) {
    // Checked before the lock too: nothing may be created or locked beside a
    // device, a directory or a file this user may not change.
    if (!S_ISREG(info.st_mode) || !MayReplace(*target, info)) return false;
  } else if (errno != ENOENT) {
    return false;
  }
  FileDescriptor lock = LockCurrentFile(*target, info);
  if (!lock.Valid() || !MayReplace(*target, info)) return false;
  std::optional<std::string> current = ReadAll(lock.Get());
  if (!current) return false;  // unreadable: never replace what could not be read
  std::string updated = edit(*current);
  if (updated == *current) return true;
  return SafeReplace::Write(*target, [&updated](const SafeReplace::Sink& each) { each(updated); }, SettingsPolicy(),
                            nullptr);
}
