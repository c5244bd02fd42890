// The file step for UTF-8 files: what the loader finds and hands the view,
// without widgets.

#include "DocumentFile.h"

#include <gtest/gtest.h>

#include "ByteStrings.h"
#include "TempDir.h"
#include "ShiftJisCodec.h"
#include "Utf8FileCodec.h"

namespace {

std::string Fixture(const std::string& name) { return std::string(KB_TEST_DATA_DIR) + "/" + name; }
QString Q(const std::string& s) { return QString::fromStdString(s); }

const int kSjis = 1, kEuc = 3, kAuto = 4, kUtf8 = 5;

struct Utf8LoadCase {
  const char* fixture;
  int loadSetting;
  KanjiCode load;
  bool byteOrderMark;
  bool offered;  // the offer to read it again as UTF-8
};

void PrintTo(const Utf8LoadCase& c, std::ostream* os) { *os << c.fixture << " load " << c.loadSetting; }

class Utf8LoadCases : public testing::TestWithParam<Utf8LoadCase> {};

TEST_P(Utf8LoadCases, FindsTheCodeTheMarkAndTheOffer) {
  const Utf8LoadCase& c = GetParam();
  LoadedDocument doc = LoadDocumentFile(Q(Fixture(c.fixture)), c.loadSetting, kAuto);
  ASSERT_EQ(doc.problem, LoadProblem::None);
  EXPECT_EQ(doc.codes.load, c.load);
  EXPECT_EQ(doc.codes.save, c.load);
  EXPECT_EQ(doc.codes.byteOrderMark, c.byteOrderMark);
  EXPECT_EQ(doc.plainlyIn == KanjiCode::Utf8, c.offered);
  std::string file = ReadFileBytes(Fixture(c.fixture));
  if (c.byteOrderMark) file.erase(0, 3);
  if (c.load != KanjiCode::Jis && c.load != KanjiCode::Euc) {
    EXPECT_EQ(ToHex(doc.shiftJis), ToHex(file));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, Utf8LoadCases,
    testing::Values(Utf8LoadCase{"utf8_prose.txt", kAuto, KanjiCode::Utf8, false, false},
                    Utf8LoadCase{"utf8_bom_prose.txt", kAuto, KanjiCode::Utf8, true, false},
                    Utf8LoadCase{"utf8_damaged.txt", kAuto, KanjiCode::ShiftJis, false, false},
                    Utf8LoadCase{"utf8_damaged.txt", kUtf8, KanjiCode::Utf8, false, false},
                    Utf8LoadCase{"sjis_prose.txt", kUtf8, KanjiCode::Utf8, false, false},
                    Utf8LoadCase{"euc_prose.txt", kAuto, KanjiCode::Euc, false, false},
                    Utf8LoadCase{"utf8_prose.txt", kSjis, KanjiCode::ShiftJis, false, true},
                    Utf8LoadCase{"utf8_bom_prose.txt", kSjis, KanjiCode::ShiftJis, false, true},
                    Utf8LoadCase{"utf8_prose.txt", kEuc, KanjiCode::Euc, false, true},
                    Utf8LoadCase{"ascii.txt", kSjis, KanjiCode::ShiftJis, false, false},
                    Utf8LoadCase{"sjis_prose.txt", kSjis, KanjiCode::ShiftJis, false, false}));

TEST(Utf8DocumentFile, NewDocumentWithUtf8SettingsIsUtf8WithoutMark) {
  DocumentCodes codes = CodesForNewDocument(kUtf8, kAuto);
  EXPECT_EQ(codes.load, KanjiCode::Utf8);
  EXPECT_EQ(codes.save, KanjiCode::Utf8);
  EXPECT_FALSE(codes.byteOrderMark);
}

TEST(Utf8DocumentFile, SaveBytesCarryTheMarkOnlyWhenAsked) {
  const std::string text = kanji::Utf8FileCodec::Decode(Hex("E3 81 82 80"));
  EXPECT_EQ(ToHex(EncodeUtf8ForSave(text, false, false)), "E3 81 82 80");
  EXPECT_EQ(ToHex(EncodeUtf8ForSave(text, true, false)), "EF BB BF E3 81 82 80");
}

// A Shift-JIS text saved as UTF-8 wrote the NEC "≒" of 0x8790 as U+F8790,
// which every other program shows as a box. A UTF-8 file's own plane-15
// code points are its text, written back as they were.
TEST(Utf8DocumentFile, SecondFormsOfShiftJisTextAreWrittenAsTheirCharacters) {
  const std::string shiftJisText = kanji::ShiftJisCodec::Decode(Hex("87 90 41 ED 40 85 40 80"));
  EXPECT_EQ(ToHex(EncodeUtf8ForSave(shiftJisText, false, true)), ToHex("≒A纊\x85@\x80"));
  std::string pieces;
  EncodeUtf8PiecesForSave(shiftJisText, true, true, [&](std::string_view piece) { pieces += piece; });
  EXPECT_EQ(ToHex(pieces), ToHex("\xEF\xBB\xBF≒A纊\x85@\x80"));
  const std::string utf8File = kanji::Utf8FileCodec::Decode("\xF3\xB8\x9E\x90");  // U+F8790 in a UTF-8 file
  EXPECT_EQ(ToHex(EncodeUtf8ForSave(utf8File, false, false)), "F3 B8 9E 90");
}

// Bytes that are no UTF-8 take three bytes each in the control: the limit
// counts them so.
TEST(Utf8DocumentFile, ControlLimitCountsBytesThatAreNoUtf8AsTheControlHoldsThem) {
  TempDir dir;
  const std::string path = dir.File("bytes.txt");
  WriteFileBytes(path, std::string(30, '\xff'));
  SetControlLimitsForTesting(60, 1000);
  EXPECT_EQ(LoadDocumentFile(Q(path), kUtf8, kAuto).problem, LoadProblem::TooLarge);
  WriteFileBytes(path, std::string(15, '\xff'));
  EXPECT_EQ(LoadDocumentFile(Q(path), kUtf8, kAuto).problem, LoadProblem::None);
  ResetControlLimitsForTesting();
}

// A large file is read again by the control; the mark stays out of the text.
TEST(Utf8DocumentFile, LargeFileIsStreamedFromAfterItsMark) {
  TempDir dir;
  const std::string path = dir.File("large.txt");
  std::string text;
  while (text.size() < kStreamedFileBytes) text += "吾輩は猫である。\n";
  WriteFileBytes(path, "\xEF\xBB\xBF" + text);
  LoadedDocument doc = LoadDocumentFile(Q(path), kAuto, kAuto);
  ASSERT_EQ(doc.problem, LoadProblem::None);
  EXPECT_EQ(doc.codes.load, KanjiCode::Utf8);
  EXPECT_TRUE(doc.codes.byteOrderMark);
  EXPECT_EQ(doc.streamFrom, Q(path));
  EXPECT_EQ(doc.streamSize, text.size());
  std::string streamed;
  EXPECT_TRUE(ReadFilePieces(Q(path), doc.streamSize, [&](std::string_view piece) { streamed += piece; }, 3));
  EXPECT_EQ(streamed, text);
}

}  // namespace
