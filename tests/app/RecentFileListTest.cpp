#include "RecentFileList.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <set>

#include "ByteNames.h"
#include "ByteStrings.h"
#include "FileName.h"
#include "ProfileFile.h"
#include "RecentFileName.h"
#include "TempDir.h"

namespace {

TEST(RecentFileList, KeepsFourMostRecentFirstWithoutDuplicates) {
  RecentFileList list;
  for (const char* path : {"/a", "/b", "/c", "/a", "/d", "/e"}) list.Add(QString::fromLatin1(path));
  EXPECT_EQ(list.Entries(), QStringList({"/e", "/d", "/a", "/c"}));
}

TEST(RecentFileList, SavedSectionHoldsExactlyTheEntriesInUse) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  for (int i = 1; i <= 4; ++i) profile.WriteProfileString("Recent File List", "File" + std::to_string(i), "/old");
  RecentFileList list;
  list.Load(profile);
  while (!list.Entries().isEmpty()) list.Remove(0);
  list.Add(QStringLiteral("/home/メモ.txt"));
  list.Add(QStringLiteral("/home/b.txt"));
  list.Save(profile);
  EXPECT_EQ(ReadFileBytes(profile.Path()), "[Recent File List]\r\nFile1=/home/b.txt\r\nFile2=/home/\x83\x81\x83\x82.txt\r\n");
  RecentFileList loaded;
  loaded.Load(profile);
  EXPECT_EQ(loaded.Entries(), list.Entries());
}

// "caf\u00e9" stored as "caf?" never reopened.
TEST(RecentFileList, NamesShiftJisCannotHoldReadBackExactly) {
  const QString names[] = {
      QStringLiteral("/home/u/caf\u00e9.txt"), QStringLiteral("/tmp/\u301c\u30e1\u30e2.txt"),
      QString::fromUtf8("/tmp/\xF0\x9F\x98\x80 100%.txt"), QStringLiteral("/tmp/two\nlines"),
      QStringLiteral("/tmp/blank at the end "), QStringLiteral(":utf8:/looks/escaped%41"),
      QStringLiteral("'/quoted/both/ends'"),
  };
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  for (const QString& name : names) {
    profile.WriteProfileString("Recent File List", std::nullopt, std::nullopt);
    RecentFileList list;
    list.Add(name);
    list.Save(profile);
    std::string stored = ReadFileBytes(profile.Path());
    for (unsigned char byte : stored) EXPECT_LT(byte, 0x80) << name.toStdString();
    RecentFileList loaded;
    loaded.Load(profile);
    EXPECT_EQ(loaded.Entries(), QStringList{name}) << stored;
  }
}

TEST(RecentFileList, StoredFormOfNamesShiftJisCannotHold) {
  EXPECT_EQ(RecentFileName::ToStored(QStringLiteral("/home/a/caf\u00e9.txt")), ":utf8:/home/a/caf%C3%A9.txt");
  EXPECT_EQ(RecentFileName::ToStored(QStringLiteral("/home/a/100% \u30e1\u30e2.txt")), "/home/a/100% \u30e1\u30e2.txt");
  EXPECT_EQ(RecentFileName::FromStored(":utf8:/a%2x%C3%A9%"), QStringLiteral("/a%2x\u00e9%"));
}

// A file named in Shift-JIS or EUC bytes comes back from the settings
// file by those bytes, after a restart as in the same run, and the menu
// shows it decoded.
TEST(RecentFileList, NamesInShiftJisOrEucBytesReadBackByteForByte) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  const std::vector<std::string> paths = {"/old/" + kEveryShiftJisClassName, "/" + kEucName + "/" + kEucKatakanaName,
                                          "/a\x80/b\xFF"};
  RecentFileList list;
  for (const std::string& path : paths) list.Add(FileName::FromBytes(path));
  list.Save(profile);
  const std::string stored = ReadFileBytes(profile.Path());
  EXPECT_NE(stored.find("File1=:utf8:/a%80/b%FF\r\n"), std::string::npos) << stored;
  EXPECT_EQ(RecentFileName::ToStored(FileName::FromBytes("/home/a/\x93\xfa\x96\x7b.txt")),
            ":utf8:/home/a/%93%FA%96{.txt");
  EXPECT_NE(stored.find("File3=:utf8:/old/%95\\%83|%83%80"), std::string::npos) << stored;
  RecentFileList loaded;
  loaded.Load(ProfileFile(profile.Path()));
  ASSERT_EQ(loaded.Entries().size(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ToHex(FileName::Bytes(loaded.Entries()[i])), ToHex(paths[2 - i]));
  EXPECT_EQ(RecentFileList::Abbreviate(loaded.Entries()[2]).toStdString(), "/old/" + kEveryShiftJisClassNameShown);
  EXPECT_EQ(RecentFileList::Abbreviate(loaded.Entries()[1]), QStringLiteral("/日本語.txt/テスト.txt"));
  EXPECT_EQ(RecentFileList::Abbreviate(loaded.Entries()[0]), QStringLiteral("/a\\x80/b\\xFF"));
}

// Eight editors quitting at once wrote "File1=f6" and "File3=f6".
TEST(RecentFileList, ConcurrentQuitsNeverDuplicateFiles) {
  TempDir dir;
  std::string path = dir.File("Kb_zeva3.ini");
  ProfileFile profile(path);
  for (int i = 1; i <= 4; ++i) profile.WriteProfileString("Recent File List", "File" + std::to_string(i), "/old" + std::to_string(i));
  std::string go = dir.File("go");
  std::vector<pid_t> editors;
  for (int editor = 0; editor < 8; ++editor) {
    pid_t pid = fork();
    if (pid == 0) {
      ProfileFile own(path);
      RecentFileList list;
      list.Load(own);
      list.Add(QStringLiteral("/f%1").arg(editor % 3));
      list.Add(QStringLiteral("/old%1").arg(editor % 4 + 1));
      while (access(go.c_str(), F_OK) != 0) usleep(100);
      list.Save(own);
      _exit(0);
    }
    editors.push_back(pid);
  }
  WriteFileBytes(go, "");
  for (pid_t pid : editors) waitpid(pid, nullptr, 0);
  RecentFileList result;
  result.Load(profile);
  QStringList entries = result.Entries();
  EXPECT_EQ(entries.size(), 4);
  EXPECT_EQ(std::set<QString>(entries.begin(), entries.end()).size(), static_cast<std::size_t>(entries.size()))
      << ReadFileBytes(path);
}

TEST(RecentFileList, ListWrittenAtExitKeepsWhatAnotherEditorWrote) {
  TempDir dir;
  ProfileFile profile(dir.File("Kb_zeva3.ini"));
  profile.WriteProfileString("Recent File List", "File1", "/a");
  profile.WriteProfileString("Recent File List", "File2", "/b");
  profile.WriteProfileString("Recent File List", "File3", "/gone");
  RecentFileList first, second, idle;
  first.Load(profile);
  second.Load(profile);
  idle.Load(profile);
  second.Add(QStringLiteral("/c"));
  second.Save(profile);
  first.Add(QStringLiteral("/d"));
  first.Remove(static_cast<int>(first.Entries().indexOf(QStringLiteral("/gone"))));
  first.Save(profile);
  idle.Save(profile);  // opened nothing: what the others wrote stays
  RecentFileList loaded;
  loaded.Load(profile);
  EXPECT_EQ(loaded.Entries(), QStringList({"/d", "/c", "/a", "/b"}));
}

TEST(RecentFileList, LongPathsAreShortenedToThirtyCharactersKeepingTheFileName) {
  EXPECT_EQ(RecentFileList::Abbreviate(QStringLiteral("/home/user/memo.txt")), QStringLiteral("/home/user/memo.txt"));
  QString shortened = RecentFileList::Abbreviate(QStringLiteral("/home/someone/projects/editor/docs/notes/memo.txt"));
  EXPECT_LE(shortened.size(), 30);
  EXPECT_TRUE(shortened.startsWith(QStringLiteral("/home/.../"))) << shortened.toStdString();
  EXPECT_TRUE(shortened.endsWith(QStringLiteral("/memo.txt")));
  QString longName = QStringLiteral("/d/") + QString(40, QLatin1Char('x'));
  EXPECT_EQ(RecentFileList::Abbreviate(longName), QString(40, QLatin1Char('x')));
}

}  // namespace
