// File names that are no UTF-8 (Shift-JIS or EUC bytes) through the
// program: kept byte for byte from the file system and back, opened, saved
// under the same name, and shown decoded.

#include "FileName.h"

#include <gtest/gtest.h>

#include <QFile>

#include <unistd.h>

#include <filesystem>
#include <random>

#include "ByteNames.h"
#include "ByteStrings.h"
#include "DocumentFile.h"
#include "TempDir.h"

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

TEST(FileName, AnyBytesComeBackAsTheyWereAndUtf8NamesAreQtsOwn) {
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    const std::string bytes = RandomBytes(rng, rng() % 30);
    ASSERT_EQ(ToHex(FileName::Bytes(FileName::FromBytes(bytes))), ToHex(bytes));
  }
  for (const std::string& name : {kEveryShiftJisClassName, kEucName, std::string("\xEF\x9E\x93")}) {
    EXPECT_EQ(FileName::Bytes(FileName::FromBytes("/a/" + name)), "/a/" + name);
    EXPECT_TRUE(FileName::HasRawBytes(FileName::FromBytes(name)));
  }
  EXPECT_EQ(FileName::FromBytes("/home/メモ é.txt"), QStringLiteral("/home/メモ é.txt"));
  EXPECT_FALSE(FileName::HasRawBytes(QStringLiteral("/home/メモ é.txt")));
}

struct ShownCase {
  std::string bytes;
  std::string shown;
};

// "files/���{.txt が見つかりません。": names are read as Shift-JIS, then EUC,
// else with their stray bytes named; each folder on its own.
TEST(FileName, NamesAreShownAsShiftJisThenEucElseWithTheirBytes) {
  for (const ShownCase& c : {ShownCase{"/d/" + kEveryShiftJisClassName, "/d/" + kEveryShiftJisClassNameShown},
                             ShownCase{"/d/\x93\xfa\x96\x7b.txt", "/d/日本.txt"},
                             ShownCase{"/" + kEucName + "/メモ", "/日本語.txt/メモ"},
                             ShownCase{kEucKatakanaName, "テスト.txt"},
                             ShownCase{"\x93\xfa/\xC6\xFC", "日/日"},
                             ShownCase{"a\x80" "b\xFF.txt", "a\\x80b\\xFF.txt"},
                             ShownCase{"\x85\x40.txt", "\\x85@.txt"},  // an empty Shift-JIS cell
                             ShownCase{"/plain/メモ.txt", "/plain/メモ.txt"}})
    EXPECT_EQ(FileName::Shown(FileName::FromBytes(c.bytes)).toStdString(), c.shown) << ToHex(c.bytes);
}

class FileNameOnDisk : public testing::Test {
 protected:
  std::string Make(const std::string& name, const std::string& content) {
    const std::string path = dir.File(name);
    WriteFileBytes(path, content);
    return path;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
      names.push_back(entry.path().filename().string());
    return names;
  }
  TempDir dir;
};

// kb_zeva3 $'\x93\xfa\x96\x7b.txt' said the file was missing.
TEST_F(FileNameOnDisk, AFileNamedInShiftJisOpensAndSavesUnderTheSameName) {
  const std::string path = Make(kEveryShiftJisClassName, "\x82\xa0\r\n");
  LoadedDocument loaded = LoadDocumentFile(FileName::FromBytes(path), 1, 1);
  ASSERT_EQ(loaded.problem, LoadProblem::None);
  EXPECT_EQ(loaded.shiftJis, "\x82\xa0\r\n");
  EXPECT_EQ(FileName::Bytes(loaded.path), path);
  QString reason;
  ASSERT_TRUE(WriteFileSafely(loaded.path, std::string("saved"), &reason)) << reason.toStdString();
  EXPECT_EQ(ReadFileBytes(path), "saved");
  EXPECT_EQ(Names(), std::vector<std::string>{kEveryShiftJisClassName}) << "no file of another name";
  std::string pieces;
  ASSERT_TRUE(ReadFilePieces(loaded.path, 5, [&](std::string_view piece) { pieces += piece; }));
  EXPECT_EQ(pieces, "saved");
  EXPECT_TRUE(FileName::IsFile(loaded.path));
}

TEST_F(FileNameOnDisk, ARelativeNameIsMadeAbsoluteFromTheWorkingFolderByItsBytes) {
  const std::string folder = dir.File(kEucName);
  std::filesystem::create_directory(folder);
  char* before = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(folder.c_str()), 0);
  const QString absolute = FileName::Absolute(FileName::FromBytes("./" + kEveryShiftJisClassName));
  ASSERT_EQ(chdir(before), 0);
  std::free(before);
  EXPECT_EQ(FileName::Bytes(absolute), folder + "/" + kEveryShiftJisClassName);
}

// Qt's file dialog lists such a file with U+FFFD for its bytes (or, ours,
// by its decoded name): the choice finds the file it stands for.
TEST_F(FileNameOnDisk, ANameChosenInADialogFindsTheFileItStandsFor) {
  const std::string path = Make(kEveryShiftJisClassName, "x");
  const QString byBytes = FileName::FromBytes(path);
  const QString folder = Q(dir.Path().string());
  const QByteArray name = QByteArray::fromStdString(kEveryShiftJisClassName);
  EXPECT_EQ(FileName::FromDialog(folder + "/" + QFile::decodeName(name)), byBytes);
  EXPECT_EQ(FileName::FromDialog(folder + "/" + Q(kEveryShiftJisClassNameShown)), byBytes);
  EXPECT_EQ(FileName::FromDialog(folder + "/other.txt"), folder + "/other.txt") << "no such file: as it was";
  // Two names Qt reads alike: neither is guessed.
  Make("\x93\xfa.txt", "1");
  Make("\x93\xfb.txt", "2");
  const QString lossy = folder + "/" + QFile::decodeName("\x93\xfa.txt");
  EXPECT_EQ(FileName::FromDialog(lossy), lossy);
  EXPECT_EQ(FileName::Bytes(FileName::FromDialog(folder + "/日.txt")), dir.File("\x93\xfa.txt"));
}

}  // namespace
