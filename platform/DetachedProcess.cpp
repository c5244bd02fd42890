#include "DetachedProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

// Two forks, so that the program is no child of ours and needs no waiting
// for: the middle process starts it and ends at once. The program's exec
// failing is reported through a pipe that its success closes. Between the
// forks and the exec only calls that are safe after a fork in a process
// with threads.
bool DetachedProcess::Start(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t middle = fork();
  if (middle < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (middle == 0) {
    close(report[0]);
    setsid();
    const pid_t started = fork();
    if (started == 0) {
      execv(argv[0], argv.data());
      const int error = errno;
      [[maybe_unused]] ssize_t written = write(report[1], &error, sizeof error);
      _exit(127);
    }
    _exit(started < 0 ? 1 : 0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}
