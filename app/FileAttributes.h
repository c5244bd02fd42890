#pragma once

// What a file carries besides its bytes: owner, group, mode bits and its
// extended attributes (POSIX ACLs among them, as "system.posix_acl_*").
// A save that replaces a file by a new one gives these back to the new
// file, or learns that it cannot and writes the old file in place.

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>

class FileAttributes {
 public:
  // The attributes of the file at `path`; nothing when they cannot be read.
  static std::optional<FileAttributes> Read(const std::string& path);

  // Gives them to the open file `fd`: true when the file now carries
  // exactly these (attributes it had that the original lacked, such as an
  // ACL inherited from the directory, are removed).
  bool ApplyTo(int fd) const;

  uid_t Owner() const { return m_owner; }
  gid_t Group() const { return m_group; }
  mode_t Mode() const { return m_mode; }

 private:
  using Extended = std::map<std::string, std::string>;
  template <class List, class Get>
  static std::optional<Extended> ReadExtended(List list, Get get);
  static std::optional<Extended> ReadExtended(int fd);
  bool ApplyExtendedTo(int fd) const;

  uid_t m_owner = 0;
  gid_t m_group = 0;
  mode_t m_mode = 0;
  Extended m_extended;
};
