#include "ProfileFile.h"

#include <gtest/gtest.h>

#include "ByteStrings.h"
#include "TempDir.h"

namespace {

class ProfileFileTest : public testing::Test {
 protected:
  std::string Contents() const { return ReadFileBytes(path); }
  void Given(const std::string& bytes) { WriteFileBytes(path, bytes); }

  TempDir dir;
  std::string path = dir.File("Kb_zeva3.ini");
  ProfileFile profile{path};
};

TEST_F(ProfileFileTest, NoFileGivesEveryDefault) {
  EXPECT_EQ(profile.GetProfileInt("Size", "SizeX", 640), 640);
  EXPECT_EQ(profile.GetProfileString("Font", "Name", "ＭＳ ゴシック"), "ＭＳ ゴシック");
}

TEST_F(ProfileFileTest, MissingSectionOrKeyGivesTheDefaultAndEmptyValueGivesEmpty) {
  Given("[Config]\r\nWordWrap=\r\nName=\r\n");
  EXPECT_EQ(profile.GetProfileInt("Config", "Indent", 7), 7);
  EXPECT_EQ(profile.GetProfileInt("Other", "WordWrap", 7), 7);
  EXPECT_EQ(profile.GetProfileInt("Config", "WordWrap", 7), 0);
  EXPECT_EQ(profile.GetProfileString("Config", "Name", "x"), "");
}

TEST_F(ProfileFileTest, FirstWriteCreatesFileSectionAndKey) {
  EXPECT_TRUE(profile.WriteProfileInt("Config", "WordWrap", 0));
  EXPECT_EQ(Contents(), "[Config]\r\nWordWrap=0\r\n");
  EXPECT_TRUE(profile.WriteProfileInt("Config", "Indent", 1));
  EXPECT_TRUE(profile.WriteProfileString("Font", "Name", "IPAGothic"));
  EXPECT_EQ(Contents(), "[Config]\r\nWordWrap=0\r\nIndent=1\r\n[Font]\r\nName=IPAGothic\r\n");
}

TEST_F(ProfileFileTest, NegativeIntegersKeepTheirSign) {
  profile.WriteProfileInt("Position", "PosX", -12);
  EXPECT_EQ(Contents(), "[Position]\r\nPosX=-12\r\n");
  EXPECT_EQ(profile.GetProfileInt("Position", "PosX", 0), -12);
}

TEST_F(ProfileFileTest, IntegersComeFromTheLeadingDigits) {
  Given("[N]\na=42px\nb= 17 \nc=abc\nd=+5\ne=99999999999\nf=-99999999999\ng=\"8\"\n");
  EXPECT_EQ(profile.GetProfileInt("N", "a", -1), 42);
  EXPECT_EQ(profile.GetProfileInt("N", "b", -1), 17);
  EXPECT_EQ(profile.GetProfileInt("N", "c", -1), 0);
  EXPECT_EQ(profile.GetProfileInt("N", "d", -1), 5);
  EXPECT_EQ(profile.GetProfileInt("N", "e", -1), INT_MAX);
  EXPECT_EQ(profile.GetProfileInt("N", "f", -1), INT_MIN);
  EXPECT_EQ(profile.GetProfileInt("N", "g", -1), 8);
}

TEST_F(ProfileFileTest, BlanksAndOneEnclosingPairOfQuotesAreNotPartOfTheValue) {
  Given("[S]\na =  padded \t\nb=\"quoted\"\nc='single'\nd=\"\"twice\"\"\ne=\"unbalanced\nf=\" inside \"\n");
  EXPECT_EQ(profile.GetProfileString("S", "a", ""), "padded");
  EXPECT_EQ(profile.GetProfileString("S", "b", ""), "quoted");
  EXPECT_EQ(profile.GetProfileString("S", "c", ""), "single");
  EXPECT_EQ(profile.GetProfileString("S", "d", ""), "\"twice\"");
  EXPECT_EQ(profile.GetProfileString("S", "e", ""), "\"unbalanced");
  EXPECT_EQ(profile.GetProfileString("S", "f", ""), " inside ");
}

TEST_F(ProfileFileTest, SectionsAndKeysMatchWithoutRegardToCase) {
  Given("[kanacode]\nLOAD=4\n");
  EXPECT_EQ(profile.GetProfileInt("KanaCode", "Load", 1), 4);
  profile.WriteProfileInt("KANACODE", "load", 2);
  EXPECT_EQ(Contents(), "[kanacode]\nLOAD=2\n") << "key replaced in place, spelled as in the file";
}

// "ア" is 83 41 and "ヂ" is 83 61: folding the trail byte's letter case
// would make them one name.
TEST_F(ProfileFileTest, TwoByteNamesWhoseTrailBytesDifferOnlyInCaseStayApart) {
  Given("[" + Hex("83 41") + "]\r\n" + Hex("83 41") + "=1\r\n" + Hex("83 61") + "=2\r\n");
  EXPECT_EQ(profile.GetProfileInt("ア", "ア", 0), 1);
  EXPECT_EQ(profile.GetProfileInt("ア", "ヂ", 0), 2);
  EXPECT_EQ(profile.GetProfileInt("ヂ", "ア", 0), 0) << "no section ヂ";
  profile.WriteProfileInt("ア", "ヂ", 3);
  EXPECT_EQ(ToHex(Contents()), ToHex("[" + Hex("83 41") + "]\r\n" + Hex("83 41") + "=1\r\n" + Hex("83 61") + "=3\r\n"));
}

TEST_F(ProfileFileTest, WriteReplacesInPlaceAndKeepsOtherLinesAndLineEndings) {
  Given("; a comment\n[Size]\nSizeX=640\nSizeY=480\n\n[Position]\nPosX=10\n");
  profile.WriteProfileInt("Size", "SizeX", 800);
  profile.WriteProfileInt("Size", "TileSizeX", 300);
  EXPECT_EQ(Contents(), "; a comment\n[Size]\nSizeX=800\nSizeY=480\nTileSizeX=300\n\n[Position]\nPosX=10\n");
}

TEST_F(ProfileFileTest, FileWithoutFinalLineBreakGetsOneBeforeNewLines) {
  Given("[A]\r\nx=1");
  profile.WriteProfileInt("A", "y", 2);
  profile.WriteProfileInt("B", "z", 3);
  EXPECT_EQ(Contents(), "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
}

TEST_F(ProfileFileTest, NoKeyRemovesTheWholeSectionAndNoValueRemovesTheKey) {
  Given("[Recent File List]\nFile1=a\nFile2=b\nFile3=c\n[Settings]\nPreviewPages=2\n");
  profile.WriteProfileString("recent file list", std::nullopt, std::nullopt);
  EXPECT_EQ(Contents(), "[Settings]\nPreviewPages=2\n");
  profile.WriteProfileString("Settings", "PreviewPages", std::nullopt);
  EXPECT_EQ(Contents(), "[Settings]\n");
}

TEST_F(ProfileFileTest, RecentFileListWithTwoEntriesLeavesExactlyTwoKeys) {
  for (int i = 1; i <= 4; ++i) profile.WriteProfileString("Recent File List", "File" + std::to_string(i), "/old");
  profile.WriteProfileString("Recent File List", std::nullopt, std::nullopt);
  profile.WriteProfileString("Recent File List", "File1", "/home/a.txt");
  profile.WriteProfileString("Recent File List", "File2", "/home/b.txt");
  EXPECT_EQ(Contents(), "[Recent File List]\r\nFile1=/home/a.txt\r\nFile2=/home/b.txt\r\n");
}

TEST_F(ProfileFileTest, LongValuesComeBackCutTo4095Bytes) {
  profile.WriteProfileString("LineWord", "Word1", std::string(5000, 'w'));
  EXPECT_EQ(profile.GetProfileString("LineWord", "Word1", "").size(), 4095u);
  // A cut never splits a two-byte character: 2047 of them fit, not half of one more.
  std::string kana;
  for (int i = 0; i < 3000; ++i) kana += "あ";
  profile.WriteProfileString("LineWord", "Word2", "x" + kana);
  std::string back = profile.GetProfileString("LineWord", "Word2", "");
  EXPECT_EQ(back, "x" + kana.substr(0, 2047 * 3));
}

TEST_F(ProfileFileTest, JapaneseValuesAreStoredAsShiftJisAndReadBack) {
  profile.WriteProfileString("Font", "Name", "ＭＳ ゴシック");
  EXPECT_EQ(ToHex(Contents()), ToHex("[Font]\r\nName=" + Hex("82 6C 82 72 20 83 53 83 56 83 62 83 4E") + "\r\n"));
  EXPECT_EQ(profile.GetProfileString("Font", "Name", ""), "ＭＳ ゴシック");
  Given("[LineWord]\r\nWord1=" + Hex("93 FA 96 7B 8C EA") + "\r\n");  // 日本語 written by another program
  EXPECT_EQ(profile.GetProfileString("LineWord", "Word1", ""), "日本語");
}

TEST_F(ProfileFileTest, EveryReadSeesTheFileAsItIsNow) {
  ProfileFile other(path);
  profile.WriteProfileInt("Config", "Flat", 1);
  EXPECT_EQ(other.GetProfileInt("Config", "Flat", 9), 1);
  Given("[Config]\nFlat=0\n");
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", 9), 0);
}

TEST_F(ProfileFileTest, TextThatCannotStandOnOneLineIsRefusedAndTheFileKept) {
  Given("[LineWord]\nWord1=keep\n");
  EXPECT_FALSE(profile.WriteProfileString("LineWord", "Word1", "two\r\nlines"));
  EXPECT_FALSE(profile.WriteProfileString("LineWord", "a=b", "x"));
  EXPECT_FALSE(profile.WriteProfileString("Line]Word", "Word1", "x"));
  EXPECT_EQ(Contents(), "[LineWord]\nWord1=keep\n");
}

TEST_F(ProfileFileTest, WriteKeepsPermissionsAndGoesThroughASymbolicLink) {
  std::string target = dir.File("real.ini");
  WriteFileBytes(target, "[A]\nx=1\n");
  std::filesystem::permissions(target, std::filesystem::perms(0640));
  std::filesystem::create_symlink(target, path);
  profile.WriteProfileInt("A", "x", 2);
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(ReadFileBytes(target), "[A]\nx=2\n");
  EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
}

}  // namespace
