#include "SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <new>

#include "ContentBackup.h"
#include "FileAttributes.h"
#include "Strings.h"
#include "UiText.h"

namespace {

constexpr std::size_t kLargestWrite = 1 << 30;

// The file a save writes: a symbolic link's final target.
std::string TargetOf(const QString& path) {
  QFileInfo info(path);
  if (info.exists()) return info.canonicalFilePath().toStdString();
  if (info.isSymLink()) return info.symLinkTarget().toStdString();
  return info.absoluteFilePath().toStdString();
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }
std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// A name beside the target for the new file until it is renamed over it.
std::string TemporaryName(const std::string& target) {
  return DirectoryOf(target) + "." + NameOf(target) + "." +
         QString::number(QRandomGenerator::global()->generate(), 36).toStdString();
}

bool NoNewFileAllowed(int error) { return error == EACCES || error == EPERM; }

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

bool SafeFileWriter::Write(const QString& path, const std::string& bytes, QString* reason) {
  return Write(path, Pieces([&bytes](const std::function<void(std::string_view)>& each) { each(bytes); }), reason);
}

bool SafeFileWriter::Write(const QString& path, const Pieces& pieces, QString* reason) {
  std::string target = TargetOf(path);
  SafeFileWriter writer(pieces);
  bool written = false;
  struct stat info {};
  if (stat(target.c_str(), &info) != 0) {
    writer.m_error = errno;
    written = errno == ENOENT && writer.CreateNew(target);
  } else if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    // Never replace a file the user may not write: the directory's
    // permission would allow the rename, the file's does not allow the save.
    writer.m_error = errno;
  } else if (!S_ISREG(info.st_mode) || info.st_nlink > 1) {
    written = writer.WriteInPlace(target);
  } else {
    Result result = writer.Replace(target);
    written = result == Result::Done || (result == Result::WriteInPlace && writer.WriteInPlace(target));
  }
  if (writer.m_outOfMemory) throw std::bad_alloc();
  if (!written && reason) *reason = writer.Reason();
  return written;
}

SafeFileWriter::Result SafeFileWriter::Replace(const std::string& target) {
  std::optional<FileAttributes> attributes = FileAttributes::Read(target);
  if (!attributes) return Result::WriteInPlace;
  Result made = MakeTemporary(DirectoryOf(target));
  if (made != Result::Done) return made;
  if (!WriteBytes(m_fd) || fsync(m_fd) != 0) {
    if (m_error == 0) m_error = errno;
    DiscardTemporary();
    return Result::Failed;
  }
  // After the write: writing clears the set-user-ID bit of a file.
  if (!attributes->ApplyTo(m_fd)) {
    DiscardTemporary();
    return Result::WriteInPlace;
  }
  return LinkOver(target);
}

bool SafeFileWriter::CreateNew(const std::string& target) {
  if (MakeTemporary(DirectoryOf(target)) != Result::Done) return false;
  bool written = (m_temporaryName.empty() || fchmod(m_fd, NewFileMode()) == 0) && WriteBytes(m_fd) && fsync(m_fd) == 0;
  if (!written) {
    if (m_error == 0) m_error = errno;
    DiscardTemporary();
    return false;
  }
  return LinkOver(target) == Result::Done;
}

SafeFileWriter::Result SafeFileWriter::MakeTemporary(const std::string& directory) {
  // An unnamed file first: a save killed half-way leaves nothing behind.
  m_fd = open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (m_fd >= 0) return Result::Done;
  m_error = errno;
  if (NoNewFileAllowed(m_error)) return Result::WriteInPlace;
  if (m_error != EOPNOTSUPP && m_error != EISDIR && m_error != EINVAL) return Result::Failed;
  std::string name = directory + ".kb_zeva3.XXXXXX";
  m_fd = mkostemp(name.data(), O_CLOEXEC);
  if (m_fd < 0) {
    m_error = errno;
    return NoNewFileAllowed(m_error) ? Result::WriteInPlace : Result::Failed;
  }
  m_error = 0;
  m_temporaryName = name;
  return Result::Done;
}

SafeFileWriter::Result SafeFileWriter::LinkOver(const std::string& target) {
  if (m_temporaryName.empty()) {
    std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    for (int attempt = 0; attempt < 100 && m_temporaryName.empty(); ++attempt) {
      std::string name = TemporaryName(target);
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) m_temporaryName = name;
      else if (errno != EEXIST) break;
    }
    if (m_temporaryName.empty()) {
      m_error = errno;
      DiscardTemporary();
      return NoNewFileAllowed(m_error) ? Result::WriteInPlace : Result::Failed;
    }
  }
  if (rename(m_temporaryName.c_str(), target.c_str()) != 0) {
    // A sticky directory lets only the owner replace a file the user may
    // write: that file is written in place.
    m_error = errno;
    DiscardTemporary();
    return NoNewFileAllowed(m_error) ? Result::WriteInPlace : Result::Failed;
  }
  m_temporaryName.clear();
  close(m_fd);
  m_fd = -1;
  SyncDirectory(DirectoryOf(target));
  return Result::Done;
}

void SafeFileWriter::DiscardTemporary() {
  if (!m_temporaryName.empty()) unlink(m_temporaryName.c_str());
  m_temporaryName.clear();
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
}

bool SafeFileWriter::WriteInPlace(const std::string& target) {
  m_error = 0;
  int fd = open(target.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    m_error = errno;
    return false;
  }
  struct stat info {};
  fstat(fd, &info);
  if (!S_ISREG(info.st_mode)) {
    // A device or a pipe: there is no content to keep.
    bool written = WriteBytes(fd);
    close(fd);
    return written;
  }
  ContentBackup backup;
  if (!backup.Make(fd, QString::fromStdString(NameOf(target)), &m_error)) {
    m_noBackup = true;
    close(fd);
    return false;
  }
  bool written = WriteBytes(fd) && ftruncate(fd, static_cast<off_t>(m_written)) == 0 && fsync(fd) == 0;
  if (!written) {
    if (m_error == 0) m_error = errno;
    int restoreError = 0;
    if (!backup.RestoreTo(fd, &restoreError)) {
      backup.Keep();
      m_keptBackup = backup.Path();
    }
  }
  close(fd);
  return written;
}

bool SafeFileWriter::WriteBytes(int fd) {
  m_written = 0;
  bool ok = true;
  auto writePiece = [&](std::string_view piece) {
    for (std::size_t done = 0; ok && done < piece.size();) {
      ssize_t written = write(fd, piece.data() + done, std::min(piece.size() - done, kLargestWrite));
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) {
        m_error = errno;
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
    m_error = ENOMEM;
    return false;
  }
  return ok;
}

QString SafeFileWriter::Reason() const {
  QString reason = m_error == ENOSPC ? T(strings::kDiskFull) : QString::fromLocal8Bit(std::strerror(m_error));
  if (m_noBackup) reason = T(strings::kNoBackupForInPlace).arg(reason);
  if (!m_keptBackup.isEmpty()) reason += QLatin1Char('\n') + T(strings::kBackupKept).arg(m_keptBackup);
  return reason;
}
