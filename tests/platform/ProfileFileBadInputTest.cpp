// Settings files that were damaged or written by hand: reads give defaults
// or what can be parsed, nothing crashes, and a later write keeps what was
// there.

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <vector>

#include "ByteStrings.h"
#include "ExtendedAttributes.h"
#include "ProfileFile.h"
#include "TempDir.h"

namespace {

class ProfileFileBadInput : public testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.File("Kb_zeva3.ini");
  ProfileFile profile{path};
};

TEST_F(ProfileFileBadInput, MalformedLinesAreIgnoredAndKeptOnWrite) {
  std::string original =
      "no equals sign here\n[Unterminated\nkey=under no section\n[Config]\nWordWrap=0\n"
      "junk " + Hex("00 FF 1B 80") + " junk\n=value without key\n";
  WriteFileBytes(path, original);
  EXPECT_EQ(profile.GetProfileInt("Config", "WordWrap", 1), 0);
  EXPECT_EQ(profile.GetProfileString("Unterminated", "key", "d"), "d");
  profile.WriteProfileInt("Config", "Indent", 1);
  EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(original + "Indent=1\n"));
}

TEST_F(ProfileFileBadInput, Utf8ByteOrderMarkBeforeTheFirstSection) {
  WriteFileBytes(path, "\xEF\xBB\xBF[Config]\r\nFlat=0\r\n");
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 1), 0);
  profile.WriteProfileInt("Config", "Flat", 1);
  EXPECT_EQ(ReadFileBytes(path), "\xEF\xBB\xBF[Config]\r\nFlat=1\r\n");
}

TEST_F(ProfileFileBadInput, TenMegabyteLine) {
  std::string huge(10 * 1024 * 1024, 'x');
  WriteFileBytes(path, "[A]\nbig=" + huge + "\n[B]\nk=v\n");
  EXPECT_EQ(profile.GetProfileString("A", "big", "").size(), ProfileFile::kMaxValueBytes);
  EXPECT_EQ(profile.GetProfileString("B", "k", ""), "v");
  profile.WriteProfileString("B", "k", "w");
  EXPECT_EQ(ReadFileBytes(path), "[A]\nbig=" + huge + "\n[B]\nk=w\n");
}

TEST_F(ProfileFileBadInput, RandomBinaryFilesNeverBreakReadsOrWrites) {
  std::mt19937 rng(41);
  const std::string alphabet = std::string("[]=\r\n \"'ab\x00\x82\xA0", 14);
  for (int round = 0; round < 300; ++round) {
    std::string junk = RandomBytes(rng, rng() % 300, alphabet);
    WriteFileBytes(path, junk);
    profile.GetProfileString("a", "b", "");
    profile.GetProfileInt("a", "", 0);
    ASSERT_TRUE(profile.WriteProfileString("New", "key", "value"));
    EXPECT_EQ(profile.GetProfileString("New", "key", ""), "value") << ToHex(junk);
  }
}

TEST_F(ProfileFileBadInput, DirectoryInPlaceOfTheFile) {
  std::filesystem::create_directory(path);
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 5);
  EXPECT_FALSE(profile.WriteProfileInt("Config", "Flat", 1));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(ProfileFileBadInput, UnreadableFileIsNeverReplaced) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteFileBytes(path, "[Config]\nFlat=0\n");
  chmod(path.c_str(), 0);
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 5);
  EXPECT_FALSE(profile.WriteProfileInt("Config", "Indent", 1));
  chmod(path.c_str(), 0600);
  EXPECT_EQ(ReadFileBytes(path), "[Config]\nFlat=0\n");
}

TEST_F(ProfileFileBadInput, ReadOnlyDirectoryFailsQuietlyAndKeepsTheFile) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into any directory";
  WriteFileBytes(path, "[Config]\nFlat=0\n");
  chmod(dir.Path().c_str(), 0500);
  EXPECT_FALSE(profile.WriteProfileInt("Config", "Flat", 1));
  chmod(dir.Path().c_str(), 0700);
  EXPECT_EQ(ReadFileBytes(path), "[Config]\nFlat=0\n");
}

// A 0444 settings file was replaced through rename at every write, by the
// user (who may write the directory) and by root alike.
TEST_F(ProfileFileBadInput, ReadOnlySettingsFileIsNeverReplaced) {
  WriteFileBytes(path, "[Config]\nFlat=0\n");
  chmod(path.c_str(), 0444);
  struct stat before;
  stat(path.c_str(), &before);
  EXPECT_FALSE(profile.WriteProfileInt("Config", "Flat", 1));
  EXPECT_FALSE(profile.WriteProfileString("Config", std::nullopt, std::nullopt));
  EXPECT_FALSE(profile.RewriteSection("Config", [](const ProfileFile::KeyValues&) { return ProfileFile::KeyValues(); }));
  struct stat after;
  stat(path.c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
  EXPECT_EQ(after.st_mode & 07777, 0444u);
  EXPECT_EQ(ReadFileBytes(path), "[Config]\nFlat=0\n");
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 0);
}

// After one run as root, "Kb_zeva3.ini.lock" was root's and every later write
// by the user failed. A lock file this user cannot open must not matter.
TEST_F(ProfileFileBadInput, LockFileLeftByAnotherUserNeverFreezesWrites) {
  WriteFileBytes(path, "[Config]\nFlat=0\n");
  WriteFileBytes(path + ".lock", "");
  chmod((path + ".lock").c_str(), 0);
  EXPECT_TRUE(profile.WriteProfileInt("Config", "Flat", 1));
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 1);
}

// A settings file linked to /dev/null made "/dev/null.lock".
TEST_F(ProfileFileBadInput, LinkToSomethingThatIsNoFileMakesNothingBesideIt) {
  std::string fifo = dir.File("fifo");
  std::string directory = dir.File("directory");
  mkfifo(fifo.c_str(), 0600);
  std::filesystem::create_directory(directory);
  for (const std::string& target : {fifo, directory, std::string("/dev/null")}) {
    std::filesystem::remove(path);
    std::filesystem::create_symlink(target, path);
    bool lockBefore = std::filesystem::exists(target + ".lock");
    EXPECT_FALSE(profile.WriteProfileInt("Config", "Flat", 1)) << target;
    EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 5) << target;
    EXPECT_EQ(std::filesystem::exists(target + ".lock"), lockBefore) << target;
  }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Kb_zeva3.ini", "directory", "fifo"}));
  EXPECT_TRUE(std::filesystem::is_empty(directory));
}

TEST_F(ProfileFileBadInput, LinkToAFileNotMadeYetCreatesItOnlyWhereItsDirectoryIs) {
  std::filesystem::create_symlink("real.ini", path);
  EXPECT_TRUE(profile.WriteProfileInt("Config", "Flat", 1));
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(ReadFileBytes(dir.File("real.ini")), "[Config]\r\nFlat=1\r\n");
  std::filesystem::remove(path);
  std::filesystem::create_symlink(dir.File("nowhere/real.ini"), path);
  EXPECT_FALSE(profile.WriteProfileInt("Config", "Flat", 1));
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));
}

// A write dropped an ACL or an extended attribute given to the settings
// file (a document's save kept them); it still moves the name to a new file.
TEST_F(ProfileFileBadInput, AclAndExtendedAttributesSurviveAWrite) {
  WriteFileBytes(path, "[Config]\nFlat=0\n");
  if (!GiveCommentAndAcl(path)) GTEST_SKIP() << "no extended attributes or ACLs here";
  std::optional<std::string> acl = Attribute(path, "system.posix_acl_access");
  struct stat before;
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  EXPECT_TRUE(profile.WriteProfileInt("Config", "Flat", 1));
  struct stat after;
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(Attribute(path, "user.comment"), "kept");
  EXPECT_EQ(Attribute(path, "system.posix_acl_access"), acl);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 1);
}

// Root running the editor with a user's settings file must leave it the
// user's, or the user's own later writes fail.
TEST_F(ProfileFileBadInput, RootWritingAUsersSettingsFileLeavesItTheirs) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can make a file of another user's";
  constexpr uid_t kNobody = 65534;
  constexpr gid_t kNoGroup = 65534;
  WriteFileBytes(path, "[Config]\nFlat=0\n");
  ASSERT_EQ(chown(path.c_str(), kNobody, kNoGroup), 0);
  EXPECT_TRUE(profile.WriteProfileInt("Config", "Flat", 1));
  struct stat after;
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_uid, kNobody);
  EXPECT_EQ(after.st_gid, kNoGroup);
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 1);
}

// Regression: root making the file (it was not there yet) left it root's.
TEST_F(ProfileFileBadInput, RootMakingTheSettingsFileInAUsersDirectoryGivesItToThem) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can make a file of another user's";
  constexpr uid_t kNobody = 65534;
  constexpr gid_t kNoGroup = 65534;
  std::string directory = dir.File("home");
  ASSERT_EQ(mkdir(directory.c_str(), 0755), 0);
  ASSERT_EQ(chown(directory.c_str(), kNobody, kNoGroup), 0);
  ProfileFile usersProfile(directory + "/Kb_zeva3.ini");
  EXPECT_TRUE(usersProfile.WriteProfileInt("Config", "Flat", 1));
  struct stat made;
  ASSERT_EQ(stat((directory + "/Kb_zeva3.ini").c_str(), &made), 0);
  EXPECT_EQ(made.st_uid, kNobody);
  EXPECT_EQ(made.st_gid, kNoGroup);
}

// The lock counts only while each write moves the name to a new file, so a
// second name for the settings file keeps the old content (where a
// document is written in place).
TEST_F(ProfileFileBadInput, SecondHardLinkKeepsTheOldContent) {
  WriteFileBytes(path, "[Config]\nFlat=0\n");
  std::string other = dir.File("other-name.ini");
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
  EXPECT_TRUE(profile.WriteProfileInt("Config", "Flat", 1));
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 5), 1);
  EXPECT_EQ(ReadFileBytes(other), "[Config]\nFlat=0\n");
}

TEST_F(ProfileFileBadInput, MissingDirectoryFailsQuietly) {
  ProfileFile nowhere(dir.File("gone/Kb_zeva3.ini"));
  EXPECT_FALSE(nowhere.WriteProfileInt("Config", "Flat", 1));
  EXPECT_EQ(nowhere.GetProfileInt("Config", "Flat", 3), 3);
}

}  // namespace
