// Several editor processes share one settings file: two writers add 1,000
// keys each while a third process reads all the time. Every key must be
// there afterwards, and no read may see a file cut short.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "ProfileFile.h"
#include "TempDir.h"

namespace {

constexpr int kKeysPerWriter = 1000;

[[noreturn]] void Writer(const std::string& path, const std::string& prefix) {
  ProfileFile profile(path);
  for (int i = 0; i < kKeysPerWriter; ++i)
    if (!profile.WriteProfileInt("Keys", prefix + std::to_string(i), i)) _exit(2);
  _exit(0);
}

// Reads until `stopFile` appears; exits 3 when a read saw a file without its
// last section, that is a file cut short.
[[noreturn]] void Reader(const std::string& path, const std::string& stopFile) {
  ProfileFile profile(path);
  while (access(stopFile.c_str(), F_OK) != 0) {
    if (profile.GetProfileString("Guard", "Last", "") != "end") _exit(3);
  }
  _exit(0);
}

pid_t Spawn(const std::function<void()>& child) {
  pid_t pid = fork();
  if (pid == 0) child();
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ProfileFileProcesses, TwoWritersAndAReaderLoseNothing) {
  TempDir dir;
  std::string path = dir.File("Kb_zeva3.ini");
  std::string stop = dir.File("stop");
  ProfileFile profile(path);
  profile.WriteProfileString("Keys", "Start", "1");
  profile.WriteProfileString("Guard", "Last", "end");

  pid_t reader = Spawn([&] { Reader(path, stop); });
  pid_t first = Spawn([&] { Writer(path, "a"); });
  pid_t second = Spawn([&] { Writer(path, "b"); });
  EXPECT_EQ(ExitCode(first), 0);
  EXPECT_EQ(ExitCode(second), 0);
  WriteFileBytes(stop, "");
  EXPECT_EQ(ExitCode(reader), 0) << "a read saw a file cut short";

  int present = 0;
  for (const char* prefix : {"a", "b"})
    for (int i = 0; i < kKeysPerWriter; ++i)
      present += profile.GetProfileInt("Keys", prefix + std::to_string(i), -1) == i;
  EXPECT_EQ(present, 2 * kKeysPerWriter);
  EXPECT_EQ(profile.GetProfileString("Guard", "Last", ""), "end");
}

// Writers killed at random moments left "Kb_zeva3.ini.XXXXXX" behind (240
// after 11,823 kills). Whatever a kill leaves, the next write clears it, and
// the file always holds a whole file's keys.
TEST(ProfileFileProcesses, KilledWritersLeaveNoTemporaryFiles) {
  TempDir dir;
  std::string path = dir.File("Kb_zeva3.ini");
  ProfileFile profile(path);
  profile.WriteProfileString("Guard", "Last", "end");
  std::mt19937 rng(7);
  for (int round = 0; round < 150; ++round) {
    pid_t writer = Spawn([&] {
      ProfileFile own(path);
      for (int i = 0;; ++i) own.WriteProfileInt("Keys", "k" + std::to_string(i % 50), i);
    });
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
    kill(writer, SIGKILL);
    ExitCode(writer);
    ASSERT_EQ(profile.GetProfileString("Guard", "Last", ""), "end") << "round " << round;
  }
  EXPECT_TRUE(profile.WriteProfileInt("Config", "Flat", 0));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) names.push_back(entry.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"Kb_zeva3.ini"});
}

// Regression: another program holding the settings file's lock froze the
// window until it let go. The write gives up after a moment, keeps the file,
// and works again once the lock is free.
TEST(ProfileFileProcesses, ALockHeldByAnotherProgramIsWaitedForOnlyAMoment) {
  TempDir dir;
  std::string path = dir.File("Kb_zeva3.ini");
  WriteFileBytes(path, "[Config]\nFlat=0\n");
  std::string locked = dir.File("locked");
  pid_t holder = Spawn([&] {
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0 || flock(fd, LOCK_EX) != 0) _exit(2);
    WriteFileBytes(locked, "");
    pause();
    _exit(0);
  });
  while (access(locked.c_str(), F_OK) != 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ProfileFile profile(path);
  EXPECT_FALSE(profile.WriteProfileInt("Config", "Flat", 1));
  EXPECT_EQ(ReadFileBytes(path), "[Config]\nFlat=0\n");
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(profile.WriteProfileInt("Config", "Flat", 1));
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 1);
}

}  // namespace
