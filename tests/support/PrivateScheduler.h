#pragma once

// A print scheduler of the test's own: cupsd in the foreground with its
// configuration, spool, socket and port in a temporary directory, and two
// queues, "Main" (the default) and "Other", whose backend saves each job as
// a file. The environment's CUPS_SERVER points at its socket while it lives;
// it is stopped by its process id.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"

class PrivateScheduler {
 public:
  static constexpr const char* kDaemon = "/usr/sbin/cupsd";
  static constexpr const char* kExecHelper = "/usr/lib/cups/daemon/cups-exec";

  // Why the scheduler cannot run here, or empty.
  static std::string Unavailable() {
    if (access(kDaemon, X_OK) != 0 || access(kExecHelper, X_OK) != 0) return "cupsd is not installed";
    if (geteuid() != 0) return "cupsd runs its backends as another user only for root";
    return {};
  }

  PrivateScheduler() {
    namespace fs = std::filesystem;
    for (const char* sub : {"conf", "spool/tmp", "cache", "state", "log", "bin/backend", "bin/daemon", "out/Main",
                            "out/Other"})
      fs::create_directories(dir_.Path() / sub);
    socket_ = dir_.File("cups.sock");
    fs::create_symlink(kExecHelper, dir_.Path() / "bin/daemon/cups-exec");
    // Run as the scheduler's own user (mode 0700): the job files stay ours.
    std::string backend = dir_.File("bin/backend/savejob");
    WriteFileBytes(backend,
                   "#!/bin/sh\n"
                   "[ $# -eq 0 ] && { echo 'direct savejob \"Unknown\" \"Saves each job\"'; exit 0; }\n"
                   "out=\"${DEVICE_URI#savejob:}\"\n"
                   "if [ -n \"$6\" ]; then cat \"$6\" > \"$out/.job-$1\"; else cat > \"$out/.job-$1\"; fi\n"
                   "mv \"$out/.job-$1\" \"$out/job-$1.pdf\"\n");
    chmod(backend.c_str(), 0700);
    WriteFileBytes(dir_.File("conf/cupsd.conf"),
                   "Listen " + socket_ + "\nListen 127.0.0.1:" + std::to_string(FreePort()) +
                       "\nBrowsing No\nLogLevel warn\nDefaultAuthType None\n"
                       "<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
    std::string d = dir_.Path().string();
    WriteFileBytes(dir_.File("conf/cups-files.conf"),
                   "ServerRoot " + d + "/conf\nRequestRoot " + d + "/spool\nTempDir " + d + "/spool/tmp\nCacheDir " +
                       d + "/cache\nStateDir " + d + "/state\nServerBin " + d +
                       "/bin\nDataDir /usr/share/cups\nAccessLog " + d + "/log/access_log\nErrorLog " + d +
                       "/log/error_log\nPageLog " + d + "/log/page_log\nPrintcap " + d + "/printcap\n");
    WriteFileBytes(dir_.File("conf/printers.conf"), Queue("DefaultPrinter", "Main") + Queue("Printer", "Other"));
    Start();
  }

  ~PrivateScheduler() { Stop(); }
  PrivateScheduler(const PrivateScheduler&) = delete;
  PrivateScheduler& operator=(const PrivateScheduler&) = delete;

  bool Running() const { return pid_ > 0; }
  const std::string& Socket() const { return socket_; }
  std::string ErrorLog() const { return ReadFileBytes(dir_.File("log/error_log")); }

  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

  // The jobs queue `name` has saved so far, waiting up to `timeout` for at
  // least `atLeast` of them.
  std::vector<std::string> Jobs(const std::string& name, std::size_t atLeast = 0,
                                std::chrono::seconds timeout = std::chrono::seconds(30)) const {
    auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      std::vector<std::string> jobs;
      for (const auto& entry : std::filesystem::directory_iterator(dir_.Path() / "out" / name))
        if (entry.path().extension() == ".pdf") jobs.push_back(entry.path().string());
      if (jobs.size() >= atLeast || std::chrono::steady_clock::now() > until) return jobs;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }

 private:
  std::string Queue(const char* kind, const char* name) const {
    return std::string("<") + kind + " " + name + ">\nDeviceURI savejob:" + dir_.File("out/") + name +
           "\nState Idle\nAccepting Yes\n</" + kind + ">\n";
  }

  bool Answers() const {
    int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket_.copy(address.sun_path, sizeof address.sun_path - 1);
    bool answered = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return answered;
  }

  static int FreePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
  }

  void Start() {
    std::string conf = dir_.File("conf/cupsd.conf"), files = dir_.File("conf/cups-files.conf");
    pid_ = fork();
    if (pid_ == 0) {
      // A test that crashes must not leave the scheduler running, nor
      // holding the test runner's output open until its timeout.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      if (getppid() == 1) _exit(127);
      int null = open("/dev/null", O_WRONLY);
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
      execl(kDaemon, kDaemon, "-f", "-c", conf.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    setenv("CUPS_SERVER", socket_.c_str(), 1);
    // Ready once the socket takes connections.
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = 0;
        return;
      }
      if (Answers()) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }

  TempDir dir_;
  std::string socket_;
  pid_t pid_ = 0;
};
