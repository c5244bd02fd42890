#include "RecentFileList.h"

#include <gtest/gtest.h>

#include "ProfileFile.h"
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
  list.Add(QStringLiteral("/home/メモ.txt"));
  list.Add(QStringLiteral("/home/b.txt"));
  list.Save(profile);
  EXPECT_EQ(ReadFileBytes(profile.Path()), "[Recent File List]\r\nFile1=/home/b.txt\r\nFile2=/home/\x83\x81\x83\x82.txt\r\n");
  RecentFileList loaded;
  loaded.Load(profile);
  EXPECT_EQ(loaded.Entries(), list.Entries());
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
