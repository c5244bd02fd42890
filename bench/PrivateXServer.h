#pragma once

// An X server of the benchmark's own (Xvfb on the first free display), so
// that windows are measured with the window system's round trips in the
// figures, as a user's would be, without a desktop and without disturbing
// anyone's display. Stopped when the object goes.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace bench {

class PrivateXServer {
 public:
  PrivateXServer() {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      close(pipeEnds[0]);
      int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      std::string fd = std::to_string(pipeEnds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x900x24", "-nolisten", "tcp", "-noreset",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeEnds[1]);
    if (m_pid < 0) {
      close(pipeEnds[0]);
      return;
    }
    // The server writes its display number once it accepts connections.
    std::string number;
    char c;
    while (read(pipeEnds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeEnds[0]);
    if (number.empty()) Stop();
    else m_display = ":" + number;
  }

  ~PrivateXServer() { Stop(); }
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  // Empty when no server could be started (Xvfb missing).
  const std::string& Display() const { return m_display; }
  int Pid() const { return m_pid; }

  // The CPU time (ms) the server has used so far, in clock ticks' steps.
  static double CpuMilliseconds(int pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::size_t afterName = stat.rfind(')');
    if (afterName == std::string::npos) return 0;
    std::istringstream fields(stat.substr(afterName + 2));
    std::string field;
    // Fields 3.. follow the name: utime and stime are the 14th and 15th.
    for (int i = 3; i < 14 && fields >> field; ++i) {
    }
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
  }

 private:
  void Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
    m_display.clear();
  }

  int m_pid = -1;
  std::string m_display;
};

}  // namespace bench
