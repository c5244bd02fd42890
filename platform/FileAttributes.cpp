#include "FileAttributes.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace {

// A list or value call answers with its size when asked with no buffer;
// it can grow between the two calls, so ask again until it fits.
template <class Call>
std::optional<std::string> ReadSized(Call call) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    ssize_t size = call(nullptr, 0);
    if (size < 0) return std::nullopt;
    std::string buffer(static_cast<std::size_t>(size), '\0');
    ssize_t got = call(buffer.data(), buffer.size());
    if (got >= 0) {
      buffer.resize(static_cast<std::size_t>(got));
      return buffer;
    }
    if (errno != ERANGE) return std::nullopt;
  }
  return std::nullopt;
}

std::vector<std::string> SplitNames(const std::string& list) {
  std::vector<std::string> names;
  for (std::size_t start = 0; start < list.size();) {
    std::size_t end = list.find('\0', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) names.emplace_back(list, start, end - start);
    start = end + 1;
  }
  return names;
}

}  // namespace

std::optional<FileAttributes> FileAttributes::Read(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  const char* name = path.c_str();
  std::optional<Extended> extended = ReadExtended(
      [name](char* buffer, std::size_t size) { return listxattr(name, buffer, size); },
      [name](const char* key, char* buffer, std::size_t size) { return getxattr(name, key, buffer, size); });
  FileAttributes attributes;
  attributes.m_owner = info.st_uid;
  attributes.m_group = info.st_gid;
  attributes.m_mode = info.st_mode & 07777;
  attributes.m_extendedKnown = extended.has_value();
  if (extended) attributes.m_extended = std::move(*extended);
  return attributes;
}

std::optional<FileAttributes::Extended> FileAttributes::ReadExtended(int fd) {
  return ReadExtended([fd](char* buffer, std::size_t size) { return flistxattr(fd, buffer, size); },
                      [fd](const char* key, char* buffer, std::size_t size) {
                        return fgetxattr(fd, key, buffer, size);
                      });
}

template <class List, class Get>
std::optional<FileAttributes::Extended> FileAttributes::ReadExtended(List list, Get get) {
  std::optional<std::string> names = ReadSized(list);
  Extended values;
  if (!names) {
    // A file system without extended attributes has none to keep.
    if (errno == ENOTSUP) return values;
    return std::nullopt;
  }
  for (const std::string& name : SplitNames(*names)) {
    std::optional<std::string> value = ReadSized([&](char* buffer, std::size_t size) {
      return get(name.c_str(), buffer, size);
    });
    if (value) values[name] = std::move(*value);
    else if (errno != ENODATA) return std::nullopt;  // ENODATA: removed meanwhile
  }
  return values;
}

// Both ways go in one order. Owner first: a change of owner clears the
// set-user-ID and set-group-ID bits, which the mode then puts back. The mode
// goes last because setting an ACL rewrites the group bits, and the old mode
// agrees with the old ACL.
bool FileAttributes::ApplyTo(int fd) const {
  if (!m_extendedKnown || fchown(fd, m_owner, m_group) != 0) return false;
  if (!ApplyExtendedTo(fd, OnFailure::Stop)) return false;
  return fchmod(fd, m_mode) == 0;
}

bool FileAttributes::ApplyAsFarAsAllowed(int fd) const {
  KeepOwnerOrGroup(fd);
  if (m_extendedKnown) ApplyExtendedTo(fd, OnFailure::GoOn);
  return fchmod(fd, m_mode) == 0;
}

bool FileAttributes::KeepOwnerOrGroup(int fd) const {
  return fchown(fd, m_owner, m_group) == 0 || fchown(fd, static_cast<uid_t>(-1), m_group) == 0;
}

bool FileAttributes::ApplyExtendedTo(int fd, OnFailure onFailure) const {
  std::optional<Extended> present = ReadExtended(fd);
  if (!present) return false;
  bool complete = true;
  auto failed = [&] {
    complete = false;
    return onFailure == OnFailure::Stop;
  };
  for (const auto& [name, value] : *present) {
    if (m_extended.count(name) == 0 && fremovexattr(fd, name.c_str()) != 0 && failed()) return false;
  }
  for (const auto& [name, value] : m_extended) {
    auto found = present->find(name);
    if (found != present->end() && found->second == value) continue;
    if (fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0 && failed()) return false;
  }
  return complete;
}
