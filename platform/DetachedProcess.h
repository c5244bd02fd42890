#pragma once

// Starts a program as a process of its own that outlives this one, with its
// path and arguments as bytes: a file named in Shift-JIS or EUC bytes must
// reach the program as the file system holds it, which Qt's process start
// (it writes every argument as UTF-8) cannot do. Plain C++, no shell.

#include <string>
#include <vector>

class DetachedProcess {
 public:
  // `program`: a path to an executable file. False when it could not be
  // started (no such file, not executable, no process to be had).
  static bool Start(const std::string& program, const std::vector<std::string>& arguments);
};
