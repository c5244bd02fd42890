#include "ProfileFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "IniText.h"
#include "ShiftJisCodec.h"

namespace {

using kanji::ShiftJisCodec;

std::string ToFile(std::string_view utf8) { return ShiftJisCodec::Encode(utf8).bytes; }

std::optional<std::string> ReadWholeFile(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Cut to at most `limit` bytes without splitting a two-byte character.
std::string CutToLimit(std::string value, std::size_t limit) {
  if (value.size() <= limit) return value;
  std::size_t end = 0;
  while (end < limit) {
    std::size_t length = ShiftJisCodec::CharLengthAt(value, end);
    if (end + length > limit) break;
    end += length;
  }
  value.resize(end);
  return value;
}

int LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;  // saturate below
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The file a symbolic link leads to, so that a write replaces the target
// and keeps the link.
std::string WriteTarget(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* resolved = realpath(path.c_str(), nullptr)) {
      std::string target(resolved);
      std::free(resolved);
      return target;
    }
  }
  return path;
}

class LockFile {
 public:
  explicit LockFile(const std::string& path)
      : fd_(open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (fd_ >= 0) {
      while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~LockFile() {
    if (fd_ >= 0) close(fd_);  // releases the lock
  }
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path`, keeping the old file's permissions.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
  std::string temporary = path + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  struct stat old;
  mode_t mode;
  if (stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes);
  ok = (close(fd) == 0) && ok;
  if (ok) ok = rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temporary.c_str());
  return ok;
}

template <class Edit>
bool EditFile(const std::string& path, Edit edit) {
  std::string target = WriteTarget(path);
  LockFile lock(target);
  if (!lock.Held()) return false;
  struct stat info;
  bool exists = stat(target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) return false;
  std::optional<std::string> bytes = ReadWholeFile(target);
  if (exists && !bytes) return false;  // unreadable: never replace what we could not read
  IniText text(bytes.value_or(""));
  edit(text);
  return ReplaceFile(target, text.Bytes());
}

// A line break in a name or value would end its line early and turn the rest
// into a line of its own, a stray key or section; a "]" in a section name or
// "=" in a key would be read back as something else. Such writes are refused
// and the file stays as it was.
bool Storable(std::string_view text, std::string_view forbidden) {
  return text.find_first_of("\r\n") == std::string_view::npos &&
         (forbidden.empty() || text.find_first_of(forbidden) == std::string_view::npos);
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> ProfileFile::ReadRaw(std::string_view section, std::string_view key) const {
  std::optional<std::string> bytes = ReadWholeFile(path_);
  if (!bytes) return std::nullopt;
  return IniText(*bytes).Find(ToFile(section), ToFile(key));
}

int ProfileFile::GetProfileInt(std::string_view section, std::string_view key, int defaultValue) const {
  std::optional<std::string> value = ReadRaw(section, key);
  return value ? LeadingInteger(*value) : defaultValue;
}

std::string ProfileFile::GetProfileString(std::string_view section, std::string_view key,
                                          std::string_view defaultValue) const {
  std::optional<std::string> value = ReadRaw(section, key);
  if (!value) return std::string(defaultValue);
  return ShiftJisCodec::Decode(CutToLimit(std::move(*value), kMaxValueBytes));
}

bool ProfileFile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  return WriteProfileString(section, key, std::to_string(value));
}

bool ProfileFile::WriteProfileString(std::string_view section, std::optional<std::string_view> key,
                                     std::optional<std::string_view> value) {
  if (!Storable(section, "]") || (key && !Storable(*key, "=")) || (value && !Storable(*value, ""))) return false;
  std::string fileSection = ToFile(section);
  if (!key) return EditFile(path_, [&](IniText& text) { text.RemoveSection(fileSection); });
  std::string fileKey = ToFile(*key);
  if (!value) return EditFile(path_, [&](IniText& text) { text.RemoveKey(fileSection, fileKey); });
  std::string fileValue = ToFile(*value);
  return EditFile(path_, [&](IniText& text) { text.Set(fileSection, fileKey, fileValue); });
}
