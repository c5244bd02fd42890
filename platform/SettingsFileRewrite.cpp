#include "SettingsFileRewrite.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::optional<std::string> RealPath(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return std::nullopt;
  std::string real(resolved);
  std::free(resolved);
  return real;
}

// The file a symbolic link leads to, so that a write replaces the target
// and keeps the link. A link to a file not made yet leads to that file when
// its directory exists (the first write creates it there); a link that leads
// nowhere else gives nothing.
std::optional<std::string> WriteTarget(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  if (std::optional<std::string> real = RealPath(path)) return real;
  std::string link(static_cast<std::size_t>(info.st_size) + 1, '\0');
  ssize_t length = readlink(path.c_str(), link.data(), link.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) return std::nullopt;
  link.resize(static_cast<std::size_t>(length));
  if (link.front() != '/') link = DirectoryOf(path) + "/" + link;
  std::optional<std::string> directory = RealPath(DirectoryOf(link));
  if (!directory || NameOf(link).empty()) return std::nullopt;
  std::string target = *directory + "/" + NameOf(link);
  if (lstat(target.c_str(), &info) == 0 || errno != ENOENT) return std::nullopt;  // a loop or a chain of dangling links
  return target;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

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

// Opens `target` (creating it empty when missing) and locks it. Readers and
// writers find the file by name and the name moves to a new file at every
// write, so the lock counts only once the name still leads to the locked
// file. O_NONBLOCK: a FIFO put in the file's place must not hang the open.
FileDescriptor LockCurrentFile(const std::string& target, struct stat& info) {
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  for (;;) {
    FileDescriptor fd(open(target.c_str(), kFlags));
    if (!fd.Valid() && errno == ENOENT) fd = FileDescriptor(open(target.c_str(), kFlags | O_CREAT, 0666));
    if (!fd.Valid() || fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return FileDescriptor();
    while (flock(fd.Get(), LOCK_EX) != 0) {
      if (errno != EINTR) return FileDescriptor();
    }
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

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Gives an unnamed (O_TMPFILE) file the name `name`. Through /proc first,
// which needs no privilege; AT_EMPTY_PATH where /proc is missing.
bool LinkUnnamed(int fd, const std::string& name) {
  std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  return linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

// Root keeps a user's file the user's; another user may at least keep the
// group. Where neither is allowed (false) the file becomes the writer's, as
// any replaced file does, and the write goes on.
bool KeepOwner(int fd, const struct stat& old) {
  if (old.st_uid == geteuid() && old.st_gid == getegid()) return true;
  return fchown(fd, old.st_uid, old.st_gid) == 0 || fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

// Called with the lock held, so `temporary` is this writer's alone: a file of
// that name is what a killed writer left and goes first.
bool ReplaceLocked(const std::string& target, const struct stat& old, std::string_view bytes) {
  std::string temporary = SettingsFileRewrite::TemporaryName(target);
  if (unlink(temporary.c_str()) != 0 && errno != ENOENT) return false;
  FileDescriptor fd(open(DirectoryOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  bool unnamed = fd.Valid();
  if (!unnamed) {
    // File systems without unnamed files: a named one, removed on failure
    // here and by the next writer after a kill.
    fd = FileDescriptor(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.Valid()) return false;
  }
  KeepOwner(fd.Get(), old);
  bool ok = fchmod(fd.Get(), old.st_mode & 07777) == 0 && WriteAll(fd.Get(), bytes) &&
            (!unnamed || LinkUnnamed(fd.Get(), temporary));
  if (!ok || rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool SettingsFileRewrite::Apply(const std::string& path, const Edit& edit) {
  std::optional<std::string> target = WriteTarget(path);
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
  return ReplaceLocked(*target, info, updated);
}
