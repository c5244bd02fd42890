#include "FileStamp.h"

#include "FileName.h"

#include <sys/stat.h>

std::optional<FileStamp> FileStamp::Of(const QString& path) {
  struct stat info;
  if (path.isEmpty() || stat(FileName::Bytes(path).c_str(), &info) != 0) return std::nullopt;
  FileStamp stamp;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.modifiedNanoseconds = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  return stamp;
}
