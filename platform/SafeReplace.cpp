#include "SafeReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <random>

#include "ContentBackup.h"
#include "FileAttributes.h"

namespace {

constexpr std::size_t kLargestWrite = 1 << 30;

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

std::string InBase36(unsigned long long value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36]);
    value /= 36;
  } while (value != 0);
  return digits;
}

// A name beside the target for the new file until it is renamed over it.
std::string RandomTemporaryName(const std::string& target) {
  thread_local std::mt19937 random{std::random_device()()};
  return DirectoryOf(target) + "/." + NameOf(target) + "." + InBase36(random());
}

bool NoNewFileAllowed(int error) { return error == EACCES || error == EPERM; }

// Gives an unnamed (O_TMPFILE) file the name `name`. Through /proc first,
// which needs no privilege; AT_EMPTY_PATH where /proc is missing. errno is
// the first way's.
bool LinkUnnamed(int fd, const std::string& name) {
  std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  int error = errno;
  if (linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
  errno = error;
  return false;
}

// The rename is durable only once the directory is.
void SyncDirectory(const std::string& directory) {
  int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::optional<std::string> SafeReplace::TargetOf(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  if (std::optional<std::string> real = RealPath(path)) return real;
  std::string link(static_cast<std::size_t>(info.st_size) + 1, '\0');
  ssize_t length = readlink(path.c_str(), link.data(), link.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) {
    if (length >= 0) errno = EINVAL;  // changed meanwhile
    return std::nullopt;
  }
  link.resize(static_cast<std::size_t>(length));
  if (link.front() != '/') link = DirectoryOf(path) + "/" + link;
  std::optional<std::string> directory = RealPath(DirectoryOf(link));
  if (!directory) return std::nullopt;
  if (NameOf(link).empty()) {
    errno = EISDIR;
    return std::nullopt;
  }
  std::string target = *directory + "/" + NameOf(link);
  if (lstat(target.c_str(), &info) == 0 || errno != ENOENT) {
    errno = ELOOP;  // a loop or a chain of dangling links
    return std::nullopt;
  }
  return target;
}

bool SafeReplace::Write(const std::string& target, const Pieces& pieces, const Policy& policy, Failure* failure) {
  SafeReplace writer(pieces, policy);
  int& error = writer.m_failure.error;
  bool written = false;
  struct stat info {};
  if (stat(target.c_str(), &info) != 0) {
    error = errno;
    written = errno == ENOENT && writer.CreateNew(target);
  } else if (!S_ISREG(info.st_mode)) {
    // A pipe, a device, a directory: no content to replace, and writing
    // into a pipe nobody reads would wait for ever.
    writer.m_failure.notRegularFile = true;
    error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  } else if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    // Never replace a file the user may not write: the directory's
    // permission would allow the rename, the file's does not allow the save.
    error = errno;
  } else {
    bool replaceable = info.st_nlink == 1 || !writer.MayWriteInPlace();
    Result result = replaceable ? writer.Replace(target) : Result::WriteInPlace;
    written = result == Result::Done || (result == Result::WriteInPlace && writer.WriteInPlace(target));
  }
  if (writer.m_outOfMemory) throw std::bad_alloc();
  if (!written && failure) *failure = writer.m_failure;
  return written;
}

SafeReplace::Result SafeReplace::Replace(const std::string& target) {
  std::optional<FileAttributes> attributes = FileAttributes::Read(target);
  if (!attributes) m_failure.error = errno;
  if (!attributes || (MayWriteInPlace() && !attributes->ExtendedKnown())) return Result::WriteInPlace;
  Result made = MakeTemporary(target);
  if (made != Result::Done) return made;
  if (!WriteBytes(m_fd) || !Flush(m_fd)) {
    if (m_failure.error == 0) m_failure.error = errno;
    DiscardTemporary();
    return Result::Failed;
  }
  // After the write: writing clears the set-user-ID bit of a file.
  bool given = MayWriteInPlace() ? attributes->ApplyTo(m_fd) : attributes->ApplyAsFarAsAllowed(m_fd);
  if (!given) {
    m_failure.error = errno;
    DiscardTemporary();
    return Result::WriteInPlace;
  }
  return LinkOver(target);
}

bool SafeReplace::CreateNew(const std::string& target) {
  if (MakeTemporary(target) != Result::Done) return false;
  bool written = (m_temporaryName.empty() || fchmod(m_fd, NewFileMode()) == 0) && WriteBytes(m_fd) && Flush(m_fd);
  if (!written) {
    if (m_failure.error == 0) m_failure.error = errno;
    DiscardTemporary();
    return false;
  }
  return LinkOver(target) == Result::Done;
}

SafeReplace::Result SafeReplace::MakeTemporary(const std::string& target) {
  std::string directory = DirectoryOf(target);
  std::string fixedName = m_policy.fixedTemporaryName ? FixedTemporaryName(target) : "";
  if (!fixedName.empty() && unlink(fixedName.c_str()) != 0 && errno != ENOENT) {
    m_failure.error = errno;
    return NoNewFileAllowed(m_failure.error) ? Result::WriteInPlace : Result::Failed;
  }
  // An unnamed file first: a save killed half-way leaves nothing behind.
  m_fd = open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (m_fd >= 0) return Result::Done;
  m_failure.error = errno;
  if (NoNewFileAllowed(m_failure.error)) return Result::WriteInPlace;
  if (m_failure.error != EOPNOTSUPP && m_failure.error != EISDIR && m_failure.error != EINVAL) return Result::Failed;
  // File systems without unnamed files: a named one, removed on failure
  // here and, with the fixed name, by the next writer after a kill.
  std::string name = fixedName.empty() ? directory + "/.kb_zeva3.XXXXXX" : fixedName;
  m_fd = fixedName.empty() ? mkostemp(name.data(), O_CLOEXEC)
                           : open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (m_fd < 0) {
    m_failure.error = errno;
    return NoNewFileAllowed(m_failure.error) ? Result::WriteInPlace : Result::Failed;
  }
  m_failure.error = 0;
  m_temporaryName = name;
  return Result::Done;
}

SafeReplace::Result SafeReplace::LinkOver(const std::string& target) {
  if (m_temporaryName.empty()) {
    int attempts = m_policy.fixedTemporaryName ? 1 : 100;
    for (int attempt = 0; attempt < attempts && m_temporaryName.empty(); ++attempt) {
      std::string name = m_policy.fixedTemporaryName ? FixedTemporaryName(target) : RandomTemporaryName(target);
      if (LinkUnnamed(m_fd, name)) m_temporaryName = name;
      else if (errno != EEXIST) break;
    }
    if (m_temporaryName.empty()) {
      m_failure.error = errno;
      DiscardTemporary();
      return NoNewFileAllowed(m_failure.error) ? Result::WriteInPlace : Result::Failed;
    }
  }
  if (rename(m_temporaryName.c_str(), target.c_str()) != 0) {
    // A sticky directory lets only the owner replace a file the user may
    // write: that file is written in place.
    m_failure.error = errno;
    DiscardTemporary();
    return NoNewFileAllowed(m_failure.error) ? Result::WriteInPlace : Result::Failed;
  }
  m_temporaryName.clear();
  close(m_fd);
  m_fd = -1;
  if (m_policy.durable) SyncDirectory(DirectoryOf(target));
  return Result::Done;
}

void SafeReplace::DiscardTemporary() {
  if (!m_temporaryName.empty()) unlink(m_temporaryName.c_str());
  m_temporaryName.clear();
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
}

bool SafeReplace::WriteInPlace(const std::string& target) {
  if (!MayWriteInPlace()) {
    if (m_failure.error == 0) m_failure.error = EINVAL;  // not a regular file
    return false;
  }
  m_failure.error = 0;
  // Opened without waiting: the name may have become a pipe meanwhile.
  int fd = open(target.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    m_failure.error = errno;
    return false;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    m_failure.notRegularFile = true;
    m_failure.error = EINVAL;
    close(fd);
    return false;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  ContentBackup backup;
  if (!backup.Make(fd, m_policy.backupDirectory, target, &m_failure.error)) {
    m_failure.noBackup = true;
    close(fd);
    return false;
  }
  bool written = WriteBytes(fd) && ftruncate(fd, static_cast<off_t>(m_written)) == 0 && Flush(fd);
  if (!written) {
    if (m_failure.error == 0) m_failure.error = errno;
    int restoreError = 0;
    if (!backup.RestoreTo(fd, &restoreError)) {
      backup.Keep();
      m_failure.keptBackup = backup.Path();
    }
  }
  close(fd);
  return written;
}

bool SafeReplace::WriteBytes(int fd) {
  m_written = 0;
  bool ok = true;
  auto writePiece = [&](std::string_view piece) {
    for (std::size_t done = 0; ok && done < piece.size();) {
      ssize_t written = write(fd, piece.data() + done, std::min(piece.size() - done, kLargestWrite));
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) {
        m_failure.error = errno;
        ok = false;
        return;
      }
      done += static_cast<std::size_t>(written);
      m_written += static_cast<std::size_t>(written);
    }
  };
  try {
    m_pieces([&](std::string_view piece) {
      if (ok) writePiece(piece);
    });
  } catch (const std::bad_alloc&) {
    // Nothing half-written stays: the caller discards or restores.
    m_outOfMemory = true;
    m_failure.error = ENOMEM;
    return false;
  }
  return ok;
}

bool SafeReplace::Flush(int fd) const { return !m_policy.durable || fsync(fd) == 0; }
