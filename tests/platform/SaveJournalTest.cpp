// Saves written in place (the file has a second hard link) killed by
// SIGKILL at many moments, in a child process: afterwards the file holds
// its old content or its new one, or the save is listed as unfinished and
// its restore gives the old content back. Never a torn file left unnoticed.
// KB_KILL_TEST_BYTES and KB_KILL_TEST_ROUNDS make it larger (make test-kills).

#include "SaveJournal.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "SafeReplace.h"
#include "TempDir.h"

namespace {

std::size_t FromEnvironment(const char* name, std::size_t fallback) {
  const char* value = std::getenv(name);
  return value ? std::strtoull(value, nullptr, 10) : fallback;
}

class KilledSave {
 public:
  KilledSave() : m_size(FromEnvironment("KB_KILL_TEST_BYTES", 4 << 20)) {
    m_old.assign(m_size, 'o');
    m_new.assign(m_size + 1000, 'n');
  }

  // Runs one save in a child; kills it after `delay` unless it ended first.
  void Save(std::chrono::microseconds delay) {
    WriteFileBytes(m_file, m_old);
    pid_t child = fork();
    if (child == 0) {
      SafeReplace::Policy policy;
      policy.backupDirectory = m_journal;
      SafeReplace::Pieces pieces = [this](const SafeReplace::Sink& each) {
        for (std::size_t at = 0; at < m_new.size(); at += kPiece) each(std::string_view(m_new).substr(at, kPiece));
      };
      _exit(SafeReplace::Write(m_file, pieces, policy, nullptr) ? 0 : 1);
    }
    std::this_thread::sleep_for(delay);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }

  std::chrono::microseconds TimeOfAWholeSave() {
    auto start = std::chrono::steady_clock::now();
    Save(std::chrono::hours(0));  // killed at once: only to warm the cache
    WriteFileBytes(m_file, m_old);
    start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
      SafeReplace::Policy policy;
      policy.backupDirectory = m_journal;
      _exit(SafeReplace::Write(m_file, [this](const SafeReplace::Sink& each) { each(m_new); }, policy, nullptr) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  }

  TempDir dir;
  std::string m_file = dir.File("document.txt");
  std::string m_link = dir.File("second-name.txt");
  std::string m_journal = dir.File("journal");
  std::size_t m_size;
  std::string m_old, m_new;
  static constexpr std::size_t kPiece = 1 << 16;
};

TEST(SaveJournal, KilledInPlaceSavesAreNeverLeftTornAndAFinishedSaveLeavesNoCopy) {
  KilledSave save;
  WriteFileBytes(save.m_file, save.m_old);
  ASSERT_EQ(link(save.m_file.c_str(), save.m_link.c_str()), 0);  // so it is written in place
  const auto whole = save.TimeOfAWholeSave();
  EXPECT_EQ(ReadFileBytes(save.m_link), save.m_new) << "written in place, the link kept";
  EXPECT_TRUE(SaveJournal::Unfinished(save.m_journal).empty()) << "a finished save leaves no copy";
  EXPECT_TRUE(std::filesystem::is_empty(save.m_journal));

  const std::size_t rounds = FromEnvironment("KB_KILL_TEST_ROUNDS", 30);
  std::mt19937 random(20261208);
  std::uniform_int_distribution<long> moment(0, whole.count() * 3 / 2);
  std::size_t torn = 0, restored = 0;
  for (std::size_t round = 0; round < rounds; ++round) {
    save.Save(std::chrono::microseconds(moment(random)));
    std::vector<SaveJournal::Entry> unfinished = SaveJournal::Unfinished(save.m_journal);
    ASSERT_LE(unfinished.size(), 1u);
    if (!unfinished.empty()) {
      EXPECT_EQ(unfinished[0].target, save.m_file);
      int error = 0;
      ASSERT_TRUE(SaveJournal::Restore(unfinished[0], &error)) << error;
      EXPECT_EQ(ReadFileBytes(save.m_link), save.m_old) << "round " << round;
      ++restored;
    }
    std::string now = ReadFileBytes(save.m_link);
    if (now != save.m_old && now != save.m_new) ++torn;
    EXPECT_TRUE(SaveJournal::Unfinished(save.m_journal).empty());
  }
  EXPECT_EQ(torn, 0u);
  EXPECT_GT(restored, 0u) << "some kills must come while the file was being written";
  std::printf("%zu kills of %zu-byte saves in place: %zu restored from their copies, %zu torn\n", rounds,
              save.m_size, restored, torn);
}

TEST(SaveJournal, ACopyWhoseFileWasReplacedMeanwhileIsNotWrittenOverTheNewFile) {
  TempDir dir;
  std::string file = dir.File("a.txt"), journal = dir.File("journal");
  WriteFileBytes(file, "old");
  ASSERT_EQ(link(file.c_str(), dir.File("b.txt").c_str()), 0);
  pid_t child = fork();
  if (child == 0) {
    SafeReplace::Policy policy;
    policy.backupDirectory = journal;
    SafeReplace::Write(file, [](const SafeReplace::Sink& each) {
      each("ne");
      raise(SIGKILL);  // killed half-way through the write
    }, policy, nullptr);
    _exit(0);
  }
  waitpid(child, nullptr, 0);
  std::vector<SaveJournal::Entry> unfinished = SaveJournal::Unfinished(journal);
  ASSERT_EQ(unfinished.size(), 1u);
  unlink(file.c_str());
  WriteFileBytes(file, "a new file by that name");
  int error = 0;
  EXPECT_FALSE(SaveJournal::Restore(unfinished[0], &error));
  EXPECT_EQ(ReadFileBytes(file), "a new file by that name");
  SaveJournal::Discard(unfinished[0]);
  EXPECT_TRUE(std::filesystem::is_empty(journal));
}

}  // namespace
