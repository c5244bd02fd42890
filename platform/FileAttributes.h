#pragma once

// What a file carries besides its bytes: owner, group, mode bits and its
// extended attributes (POSIX ACLs among them, as "system.posix_acl_*").
// A file replaced by a new one gives these to the new file: exactly, or
// the writer learns that it cannot (and writes the old file in place); or,
// for a file that must be replaced whatever happens, as far as the writer
// may give them.

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>

class FileAttributes {
 public:
  // The attributes of the file at `path`; nothing when it cannot be
  // examined. Extended attributes that cannot be read leave the rest known
  // (ExtendedKnown() is then false).
  static std::optional<FileAttributes> Read(const std::string& path);

  // Gives them to the open file `fd`: true when the file now carries
  // exactly these (attributes it had that the original lacked, such as an
  // ACL inherited from the directory, are removed).
  bool ApplyTo(int fd) const;
  // Gives what this user may: the owner (else at least the group), each
  // extended attribute that can be set; a file another user owned becomes
  // the writer's, as any file the writer makes. The mode bits always: false
  // when they could not be given.
  bool ApplyAsFarAsAllowed(int fd) const;

  bool ExtendedKnown() const { return m_extendedKnown; }
  uid_t Owner() const { return m_owner; }
  gid_t Group() const { return m_group; }
  mode_t Mode() const { return m_mode; }

 private:
  using Extended = std::map<std::string, std::string>;
  enum class OnFailure { Stop, GoOn };
  template <class List, class Get>
  static std::optional<Extended> ReadExtended(List list, Get get);
  static std::optional<Extended> ReadExtended(int fd);
  bool ApplyExtendedTo(int fd, OnFailure onFailure) const;
  bool KeepOwnerOrGroup(int fd) const;

  uid_t m_owner = 0;
  gid_t m_group = 0;
  mode_t m_mode = 0;
  bool m_extendedKnown = false;
  Extended m_extended;
};
