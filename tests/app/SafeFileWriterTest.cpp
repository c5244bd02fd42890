// Saving a file keeps it the same file: its attributes, its links, its
// content when anything fails, whichever way the bytes reach the disk.

#include "DocumentFile.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "ExtendedAttributes.h"
#include "FileSizeLimit.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
const char* const kDiskFull = "ディスクの空き容量が足りません。";
const char* const kNoFolder = "保存先のフォルダがありません。";
const char* const kNoPermission = "このファイルまたはフォルダに書き込む許可がありません。";
const char* const kLinkLoop = "シンボリックリンクが循環しているか、リンク先がありません。";
const char* const kNotAFile = "%1\nはファイルではありません。";
QString T(const char* text) { return QString::fromUtf8(text); }
// What the system says when a write is stopped by the file size limit.
QString FileTooLarge() { return QString::fromLocal8Bit(std::strerror(EFBIG)); }
// A cause in the user's words, the system's own as the detail after it.
QString SentenceAndDetail(const char* sentence, int error) {
  return T(sentence) + QStringLiteral("\n（%1）").arg(QString::fromLocal8Bit(std::strerror(error)));
}

struct stat Stat(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info;
}

class SafeWrite : public testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CACHE_HOME", cacheHome.Path().c_str(), 1); }

  bool Save(const std::string& bytes, QString* reason = nullptr) { return WriteFileSafely(Q(path), bytes, reason); }
  // Copies of old content kept for writes in place, left in the cache.
  std::size_t BackupsLeft() const {
    fs::path backups = cacheHome.Path() / "kb_zeva3";
    if (!fs::exists(backups)) return 0;
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(backups), fs::directory_iterator()));
  }
  std::size_t FilesInDirectory() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()));
  }

  TempDir dir;
  TempDir cacheHome;
  std::string path = dir.File("doc.txt");
};

class ModeBits : public SafeWrite, public testing::WithParamInterface<mode_t> {};

TEST_P(ModeBits, SurviveASave) {
  mode_t mode = GetParam();
  if ((mode & 0200) == 0 && geteuid() != 0) GTEST_SKIP() << "only root may save a read-only file";
  WriteFileBytes(path, "old");
  ASSERT_EQ(chmod(path.c_str(), mode), 0);
  QString reason;
  ASSERT_TRUE(Save("new text", &reason)) << reason.toStdString();
  EXPECT_EQ(ReadFileBytes(path), "new text");
  EXPECT_EQ(Stat(path).st_mode & 07777, mode);
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeBits, testing::Values(0640, 0600, 0644, 0755, 0444, 04755, 02770));

TEST_F(SafeWrite, RootSavingAnotherUsersFileLeavesItTheirs) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can make a file of another user's";
  WriteFileBytes(path, "old");
  ASSERT_EQ(chown(path.c_str(), kNobody, kNoGroup), 0);
  ASSERT_TRUE(Save("new"));
  EXPECT_EQ(Stat(path).st_uid, kNobody);
  EXPECT_EQ(Stat(path).st_gid, kNoGroup);
  EXPECT_EQ(ReadFileBytes(path), "new");
}

TEST_F(SafeWrite, AclAndExtendedAttributesSurviveASave) {
  WriteFileBytes(path, "old");
  if (!GiveCommentAndAcl(path)) GTEST_SKIP() << "no extended attributes or ACLs here";
  std::optional<std::string> acl = Attribute(path, "system.posix_acl_access");
  mode_t mode = Stat(path).st_mode;
  ino_t inode = Stat(path).st_ino;
  ASSERT_TRUE(Save("new"));
  EXPECT_NE(Stat(path).st_ino, inode) << "the ordinary save replaces the file";
  EXPECT_EQ(Attribute(path, "user.comment"), "kept");
  EXPECT_EQ(Attribute(path, "system.posix_acl_access"), acl);
  EXPECT_EQ(Stat(path).st_mode, mode);
}

TEST_F(SafeWrite, AclInheritedFromTheDirectoryIsNotAddedBySaving) {
  WriteFileBytes(path, "old");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  std::string inherited = Acl({{kAclUserObj, 7, kAclNoId},
                               {kAclUser, 7, 1234},
                               {kAclGroupObj, 5, kAclNoId},
                               {kAclMask, 7, kAclNoId},
                               {kAclOther, 5, kAclNoId}});
  if (setxattr(dir.Path().c_str(), "system.posix_acl_default", inherited.data(), inherited.size(), 0) != 0)
    GTEST_SKIP() << "no ACLs here";
  ASSERT_TRUE(Save("new"));
  EXPECT_EQ(Attribute(path, "system.posix_acl_access"), std::nullopt);
  EXPECT_EQ(Stat(path).st_mode & 07777, 0600u);
}

class HardLinks : public SafeWrite, public testing::WithParamInterface<const char*> {};

TEST_P(HardLinks, FileWithTwoNamesStaysOneFile) {
  std::string other = dir.File("other-name.txt");
  WriteFileBytes(path, "the old text of medium length");
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
  ino_t inode = Stat(path).st_ino;
  ASSERT_TRUE(Save(GetParam()));
  EXPECT_EQ(ReadFileBytes(other), GetParam());
  EXPECT_EQ(ReadFileBytes(path), GetParam());
  EXPECT_EQ(Stat(path).st_ino, inode);
  EXPECT_EQ(Stat(path).st_nlink, 2u);
  EXPECT_EQ(BackupsLeft(), 0u);
}

INSTANTIATE_TEST_SUITE_P(NewLengths, HardLinks, testing::Values("short", "", "a new text longer than the old text was"));

TEST_F(SafeWrite, FailedWriteInPlaceRestoresTheOldContentNotATruncatedFile) {
  std::string other = dir.File("other-name.txt");
  WriteFileBytes(path, "precious old contents");
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
  // The copy of the old content and its record fit; the new text stops
  // part-way, after it has overwritten the old.
  for (std::size_t length : {150, 100000}) {
    QString reason;
    {
      FileSizeLimit limit(120);
      ASSERT_TRUE(limit.ok());
      EXPECT_FALSE(Save(std::string(length, 'n'), &reason));
    }
    EXPECT_EQ(reason, FileTooLarge());
    EXPECT_EQ(ReadFileBytes(path), "precious old contents");
    EXPECT_EQ(BackupsLeft(), 0u) << "the copy is removed once written back";
  }
}

TEST_F(SafeWrite, WriteInPlaceWithoutRoomForTheCopyIsRefused) {
  std::string other = dir.File("other-name.txt");
  WriteFileBytes(path, "old");
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
  std::string notADirectory = cacheHome.File("file");
  WriteFileBytes(notADirectory, "");
  setenv("XDG_CACHE_HOME", notADirectory.c_str(), 1);
  QString reason;
  EXPECT_FALSE(Save("new", &reason));
  EXPECT_TRUE(reason.startsWith(QStringLiteral("上書きする前に元の内容の控えを作れませんでした。\n"))) << reason.toStdString();
  EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST_F(SafeWrite, WritableFileInAReadOnlyDirectoryIsWrittenInPlace) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into any directory (CI runs this as an unprivileged user)";
  WriteFileBytes(path, "old");
  ino_t inode = Stat(path).st_ino;
  fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  QString reason;
  EXPECT_TRUE(Save("new text", &reason)) << reason.toStdString();
  fs::permissions(dir.Path(), fs::perms::owner_all);
  EXPECT_EQ(ReadFileBytes(path), "new text");
  EXPECT_EQ(Stat(path).st_ino, inode);
  EXPECT_EQ(BackupsLeft(), 0u);
}

TEST_F(SafeWrite, FileTheUserMayNotWriteIsNotReplaced) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes every file (CI runs this as an unprivileged user)";
  WriteFileBytes(path, "old");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  QString reason;
  EXPECT_FALSE(Save("new", &reason));
  EXPECT_EQ(reason, SentenceAndDetail(kNoPermission, EACCES));
  EXPECT_EQ(ReadFileBytes(path), "old");
  EXPECT_EQ(Stat(path).st_mode & 07777, 0444u);
}

// As root, become another user for a while: that user may write root's
// file but could not give it back to root if it replaced it.
class AsNobody {
 public:
  AsNobody() { ok_ = setegid(kNoGroup) == 0 && seteuid(kNobody) == 0; }
  ~AsNobody() {
    if (seteuid(0) != 0 || setegid(0) != 0) std::abort();
  }
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

TEST_F(SafeWrite, UserSavingAFileOwnedBySomeoneElseWritesItInPlace) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make a file of another user's";
  WriteFileBytes(path, "root's old text");
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
  ASSERT_EQ(chmod(cacheHome.Path().c_str(), 0777), 0);
  ino_t inode = Stat(path).st_ino;
  {
    AsNobody nobody;
    ASSERT_TRUE(nobody.ok());
    QString reason;
    EXPECT_TRUE(Save("nobody's new text", &reason)) << reason.toStdString();
  }
  EXPECT_EQ(ReadFileBytes(path), "nobody's new text");
  EXPECT_EQ(Stat(path).st_uid, 0u);
  EXPECT_EQ(Stat(path).st_ino, inode);
  EXPECT_EQ(FilesInDirectory(), 1u);
}

TEST_F(SafeWrite, NewFileGetsTheUsualModeAndNoTemporaryFileRemains) {
  mode_t mask = umask(022);
  QString reason;
  EXPECT_TRUE(Save("fresh", &reason)) << reason.toStdString();
  umask(mask);
  EXPECT_EQ(ReadFileBytes(path), "fresh");
  EXPECT_EQ(Stat(path).st_mode & 07777, 0644u);
  EXPECT_EQ(FilesInDirectory(), 1u);
}

TEST_F(SafeWrite, WritesThroughASymbolicLinkToItsTarget) {
  std::string target = dir.File("target.txt");
  WriteFileBytes(target, "old");
  fs::create_symlink(target, path);
  ASSERT_TRUE(Save("new"));
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(ReadFileBytes(target), "new");
}

// A save through a link to a link to a file not made yet replaced the
// middle link by a file. The links stay as they are and the save fails.
TEST_F(SafeWrite, ChainOfDanglingLinksIsNotReplacedByAFile) {
  std::string middle = dir.File("middle-link");
  fs::create_symlink(dir.File("not-yet.txt"), middle);
  fs::create_symlink(middle, path);
  QString reason;
  EXPECT_FALSE(Save("new", &reason));
  EXPECT_EQ(reason, SentenceAndDetail(kLinkLoop, ELOOP));
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_TRUE(fs::is_symlink(middle));
  EXPECT_EQ(FilesInDirectory(), 2u);
}

TEST_F(SafeWrite, AWriteFailingPartWayLeavesTheOldFileIntact) {
  WriteFileBytes(path, "precious old contents");
  QString reason;
  {
    FileSizeLimit limit(3);
    ASSERT_TRUE(limit.ok());
    EXPECT_FALSE(Save("new contents that do not fit", &reason));
  }
  EXPECT_EQ(reason, FileTooLarge());
  EXPECT_EQ(ReadFileBytes(path), "precious old contents");
  EXPECT_EQ(FilesInDirectory(), 1u) << "no temporary file left behind";
}

// Regression: save errors showed the system's English text alone.
TEST_F(SafeWrite, CommonCausesAreSaidInJapaneseWithTheSystemsWordsAsDetail) {
  QString reason;
  EXPECT_FALSE(WriteFileSafely(Q(dir.File("gone/doc.txt")), "x", &reason));
  EXPECT_EQ(reason, SentenceAndDetail(kNoFolder, ENOENT));
  fs::create_directory(dir.File("folder"));
  EXPECT_FALSE(WriteFileSafely(Q(dir.File("folder")), "x", &reason));
  EXPECT_EQ(reason, T(kNotAFile).arg(Q(dir.File("folder"))));
}

// Regression: saving over a pipe waited for ever for a reader. A pipe or a
// device is refused as opening it is; a failure without a sentence of its
// own is in the system's words.
TEST_F(SafeWrite, APipeOrADeviceIsNoFileAndOtherErrorsAreInTheSystemsWords) {
  std::string pipe = dir.File("pipe");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  QString reason;
  for (const std::string& target : {pipe, std::string("/dev/full")}) {
    EXPECT_FALSE(WriteFileSafely(Q(target), "x", &reason));
    EXPECT_EQ(reason, T(kNotAFile).arg(Q(target)));
  }
  WriteFileBytes(path, "old");
  {
    FileSizeLimit limit(1);
    EXPECT_FALSE(Save("new", &reason));
  }
  EXPECT_EQ(reason, FileTooLarge());
}

// A small file system of its own, mounted for the test when root may.
class FullFileSystem : public SafeWrite {
 protected:
  void SetUp() override {
    SafeWrite::SetUp();
    if (geteuid() != 0 || mount("tmpfs", dir.Path().c_str(), "tmpfs", 0, "size=64k") != 0) {
      GTEST_SKIP() << "cannot mount a small file system here";
    }
    mounted = true;
  }
  void TearDown() override {
    if (mounted) umount2(dir.Path().c_str(), MNT_DETACH);
    SafeWrite::TearDown();
  }
  bool mounted = false;
};

TEST_F(FullFileSystem, SavingMoreThanFitsSaysTheDiskIsFullAndKeepsTheFile) {
  std::string other = dir.File("other-name.txt");
  std::string tooMuch(256 * 1024, 'x');
  for (bool linked : {false, true}) {
    WriteFileBytes(path, "old");
    if (linked) {
      ASSERT_EQ(link(path.c_str(), other.c_str()), 0);  // written in place
    }
    QString reason;
    EXPECT_FALSE(Save(tooMuch, &reason)) << linked;
    EXPECT_EQ(reason, SentenceAndDetail(kDiskFull, ENOSPC)) << linked;
    EXPECT_EQ(ReadFileBytes(path), "old") << linked;
    EXPECT_EQ(FilesInDirectory(), linked ? 2u : 1u);
    EXPECT_EQ(BackupsLeft(), 0u);
  }
}

}  // namespace
