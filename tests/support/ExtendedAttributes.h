#pragma once

// Reading a file's extended attributes and writing POSIX ACLs as the
// kernel stores them, for tests of what a rewrite keeps.

#include <sys/xattr.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <tuple>

inline std::optional<std::string> Attribute(const std::string& path, const char* name) {
  char value[4096];
  ssize_t size = getxattr(path.c_str(), name, value, sizeof value);
  if (size < 0) return std::nullopt;
  return std::string(value, static_cast<std::size_t>(size));
}

// A POSIX ACL as the kernel stores it: version 2, then (tag, permissions, id).
inline std::string Acl(std::initializer_list<std::tuple<uint16_t, uint16_t, uint32_t>> entries) {
  std::string bytes("\x02\0\0\0", 4);
  for (auto [tag, perm, id] : entries) {
    bytes.append(reinterpret_cast<const char*>(&tag), 2);
    bytes.append(reinterpret_cast<const char*>(&perm), 2);
    bytes.append(reinterpret_cast<const char*>(&id), 4);
  }
  return bytes;
}
constexpr uint16_t kAclUserObj = 1, kAclUser = 2, kAclGroupObj = 4, kAclMask = 0x10, kAclOther = 0x20;
constexpr uint32_t kAclNoId = 0xFFFFFFFF;
inline const std::string kAclGivingUser1234ReadWrite = Acl({{kAclUserObj, 6, kAclNoId},
                                                            {kAclUser, 6, 1234},
                                                            {kAclGroupObj, 4, kAclNoId},
                                                            {kAclMask, 6, kAclNoId},
                                                            {kAclOther, 4, kAclNoId}});

// Gives the file a comment ("user.comment" = "kept") and an ACL letting user
// 1234 read and write it: false where the file system takes neither.
inline bool GiveCommentAndAcl(const std::string& path) {
  if (setxattr(path.c_str(), "user.comment", "kept", 4, 0) != 0) return false;
  return setxattr(path.c_str(), "system.posix_acl_access", kAclGivingUser1234ReadWrite.data(),
                  kAclGivingUser1234ReadWrite.size(), 0) == 0;
}
