// Settings files that were damaged or written by hand: reads give defaults
// or what can be parsed, nothing crashes, and a later write keeps what was
// there.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>

#include "ByteStrings.h"
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

TEST_F(ProfileFileBadInput, MissingDirectoryFailsQuietly) {
  ProfileFile nowhere(dir.File("gone/Kb_zeva3.ini"));
  EXPECT_FALSE(nowhere.WriteProfileInt("Config", "Flat", 1));
  EXPECT_EQ(nowhere.GetProfileInt("Config", "Flat", 3), 3);
}

}  // namespace
