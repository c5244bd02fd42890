#pragma once

// Writes that would take any file of this process past `bytes` fail with
// EFBIG while the object lives, part-way through as on a full disk: the
// process's file size limit, with the signal it sends ignored. No root and
// no hook in the product are needed.

#include <sys/resource.h>

#include <csignal>

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_old);
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool ok() const { return m_ok; }

 private:
  rlimit m_old{};
  void (*m_oldHandler)(int) = SIG_DFL;
  bool m_ok = false;
};
