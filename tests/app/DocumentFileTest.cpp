// The document's file step without widgets: every load/save setting pair on
// real files, byte-exact round trips, and the failures a save must survive.

#include "DocumentFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <algorithm>
#include <random>
#include <vector>

#include "ByteStrings.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"

namespace {

std::string Fixture(const std::string& name) { return std::string(KB_TEST_DATA_DIR) + "/" + name; }
QString Q(const std::string& s) { return QString::fromStdString(s); }

const int kNone = 0, kSjis = 1, kJis = 2, kEuc = 3, kAuto = 4;

TEST(DocumentFile, NewDocumentCodes) {
  EXPECT_EQ(CodesForNewDocument(kAuto, kAuto).load, KanjiCode::ShiftJis);
  EXPECT_EQ(CodesForNewDocument(kAuto, kAuto).save, KanjiCode::ShiftJis);
  EXPECT_EQ(CodesForNewDocument(kJis, kAuto).load, KanjiCode::Jis) << "kept although nothing was read";
  EXPECT_EQ(CodesForNewDocument(kJis, kAuto).save, KanjiCode::Jis);
  EXPECT_EQ(CodesForNewDocument(kSjis, kEuc).save, KanjiCode::Euc);
}

struct LoadCase {
  const char* fixture;
  int loadSetting, saveSetting;
  KanjiCode load, save;
  const char* sameTextAs;  // fixture whose bytes the loaded text equals
};

class LoadCases : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadCases, ResolvesCodesAndConvertsToShiftJis) {
  const LoadCase& c = GetParam();
  LoadedDocument doc = LoadDocumentFile(Q(Fixture(c.fixture)), c.loadSetting, c.saveSetting);
  ASSERT_EQ(doc.problem, LoadProblem::None);
  EXPECT_EQ(doc.codes.load, c.load);
  EXPECT_EQ(doc.codes.save, c.save);
  EXPECT_EQ(ToHex(doc.shiftJis), ToHex(ReadFileBytes(Fixture(c.sameTextAs))));
  EXPECT_FALSE(doc.cutAtNul);
}

const std::string kSjisLf = [] {
  // The Shift-JIS prose with the JIS/EUC fixtures' LF line ends.
  std::string text = ReadFileBytes(Fixture("sjis_prose.txt"));
  std::string lf;
  for (char c : text)
    if (c != '\r') lf += c;
  return lf;
}();

INSTANTIATE_TEST_SUITE_P(
    Settings, LoadCases,
    testing::Values(LoadCase{"ascii.txt", kAuto, kAuto, KanjiCode::None, KanjiCode::None, "ascii.txt"},
                    LoadCase{"sjis_prose.txt", kAuto, kAuto, KanjiCode::ShiftJis, KanjiCode::ShiftJis,
                             "sjis_prose.txt"},
                    LoadCase{"sjis_prose.txt", kSjis, kJis, KanjiCode::ShiftJis, KanjiCode::Jis, "sjis_prose.txt"},
                    LoadCase{"jis_prose.txt", kNone, kAuto, KanjiCode::None, KanjiCode::None, "jis_prose.txt"},
                    LoadCase{"jis_prose.txt", kSjis, kSjis, KanjiCode::ShiftJis, KanjiCode::ShiftJis,
                             "jis_prose.txt"}));

TEST(DocumentFile, JisAndEucFilesOpenAsShiftJis) {
  for (auto [fixture, code] : {std::pair{"jis_prose.txt", KanjiCode::Jis}, std::pair{"euc_prose.txt", KanjiCode::Euc}}) {
    for (int setting : {kAuto, static_cast<int>(code)}) {
      LoadedDocument doc = LoadDocumentFile(Q(Fixture(fixture)), setting, kAuto);
      ASSERT_EQ(doc.problem, LoadProblem::None);
      EXPECT_EQ(doc.codes.load, code) << fixture;
      EXPECT_EQ(doc.codes.save, code) << fixture;
      std::string expected = kSjisLf;
      EXPECT_EQ(ToHex(doc.shiftJis), ToHex(expected)) << fixture;
    }
  }
}

TEST(DocumentFile, EveryLoadAndSaveSettingPairOnAJisFile) {
  const std::string file = ReadFileBytes(Fixture("jis_prose.txt"));
  for (int load = 0; load <= 4; ++load) {
    for (int save = 0; save <= 4; ++save) {
      LoadedDocument doc = LoadDocumentFile(Q(Fixture("jis_prose.txt")), load, save);
      KanjiCode expectedLoad = load == kAuto ? KanjiCode::Jis : KanjiCodeFromInt(load);
      KanjiCode expectedSave = save == kAuto ? expectedLoad : KanjiCodeFromInt(save);
      EXPECT_EQ(doc.codes.load, expectedLoad) << load << "/" << save;
      EXPECT_EQ(doc.codes.save, expectedSave) << load << "/" << save;
      // Read as JIS the file is the Shift-JIS prose; the others keep the
      // file's bytes, escapes and all (EUC converts only bytes from 0x80 on,
      // and the JIS file has none).
      std::string expectedText = expectedLoad == KanjiCode::Jis ? kSjisLf : file;
      EXPECT_EQ(doc.shiftJis, expectedText) << load << "/" << save;
    }
  }
}

TEST(DocumentFile, JisSavedBackUsesTheOldKanjiInAndRomanOut) {
  LoadedDocument doc = LoadDocumentFile(Q(Fixture("jis_prose.txt")), kAuto, kAuto);
  std::string written = EncodeForSave(doc.shiftJis, doc.codes.save);
  std::string original = ReadFileBytes(Fixture("jis_prose.txt"));
  EXPECT_NE(written.find("\x1b$@"), std::string::npos);
  EXPECT_NE(written.find("\x1b(J"), std::string::npos);
  EXPECT_EQ(written.find("\x1b$B"), std::string::npos);
  // The same text; only the escapes are spelled the old way.
  std::string oldEscapes = original;
  for (auto [from, to] : {std::pair{"\x1b$B", "\x1b$@"}, std::pair{"\x1b(B", "\x1b(J"}})
    for (std::size_t at = oldEscapes.find(from); at != std::string::npos; at = oldEscapes.find(from, at))
      oldEscapes.replace(at, 3, to);
  EXPECT_EQ(ToHex(written), ToHex(oldEscapes));
}

TEST(DocumentFile, EucWithSaveAutoWritesEucAgain) {
  LoadedDocument doc = LoadDocumentFile(Q(Fixture("euc_prose.txt")), kAuto, kAuto);
  EXPECT_EQ(EncodeForSave(doc.shiftJis, doc.codes.save), ReadFileBytes(Fixture("euc_prose.txt")));
}

TEST(DocumentFile, ShiftJisOpenedAsEucComesOutMangledWithoutCheck) {
  LoadedDocument doc = LoadDocumentFile(Q(Fixture("sjis_prose.txt")), kEuc, kAuto);
  EXPECT_EQ(doc.problem, LoadProblem::None);
  EXPECT_NE(doc.shiftJis, ReadFileBytes(Fixture("sjis_prose.txt")));
}

// Ordinary Shift-JIS with one kanji or one full stop is taken for EUC by
// detection; saving it back wrote other bytes without a word. Also when the
// file holds a 0x00, which was the only thing told.
TEST(DocumentFile, DetectedCodeThatDoesNotSaveBackAsReadIsFound) {
  TempDir dir;
  struct Case {
    std::string text;
    std::size_t offset;
    bool cut;
  };
  for (const Case& c : {Case{"price 100\x89\x7e only", 9, false},
                        Case{"Meeting at 10:00\x81\x42" "Bring notes.", 16, false},
                        Case{std::string("price 100\x89\x7e only\0tail", 21), 9, true}}) {
    std::string path = dir.File("note.txt");
    WriteFileBytes(path, c.text);
    LoadedDocument doc = LoadDocumentFile(Q(path), kAuto, kAuto);
    EXPECT_EQ(doc.codes.load, KanjiCode::Euc) << c.text;
    EXPECT_EQ(doc.cutAtNul, c.cut) << c.text;
    ASSERT_TRUE(doc.savesDifferently) << c.text;
    EXPECT_EQ(doc.savesDifferently->fileOffset, c.offset) << c.text;
    EXPECT_FALSE(LoadDocumentFile(Q(path), kEuc, kAuto).savesDifferently) << "a chosen code is taken as meant";
  }
  for (const char* fixture : {"jis_prose.txt", "euc_prose.txt", "sjis_prose.txt", "ascii.txt", "jis_with_nul.txt"})
    EXPECT_FALSE(LoadDocumentFile(Q(Fixture(fixture)), kAuto, kAuto).savesDifferently) << fixture;
}

class ControlLimits : public testing::Test {
 protected:
  void TearDown() override { ResetControlLimitsForTesting(); }
  LoadProblem Load(const std::string& bytes, int setting = kAuto) {
    std::string path = dir.File("doc.txt");
    WriteFileBytes(path, bytes);
    return LoadDocumentFile(Q(path), setting, kAuto).problem;
  }
  TempDir dir;
};

// The size check compared the file's size with the limit while the control
// holds up to three bytes for each: 800 MB of 0xFF opened and the next
// keystroke crashed.
TEST_F(ControlLimits, TextIsMeasuredAsTheControlHoldsItNotAsTheFileIs) {
  SetControlLimitsForTesting(100, 100);
  EXPECT_EQ(Load(std::string(33, '\xff'), kSjis), LoadProblem::None) << "99 bytes in the control";
  EXPECT_EQ(Load(std::string(34, '\xff'), kSjis), LoadProblem::TooLarge) << "102 bytes in the control, 34 in the file";
  EXPECT_EQ(Load(std::string(50, '\x82') + std::string(50, '\xa0')), LoadProblem::TooLarge);
  EXPECT_EQ(Load(std::string(100, 'a')), LoadProblem::None);
  EXPECT_EQ(Load(std::string(101, 'a')), LoadProblem::TooLarge);
  // A JIS file is measured after its conversion: 26 kanji are 78 bytes.
  std::string jis = "\x1b$B";
  for (int i = 0; i < 26; ++i) jis += "0!";
  EXPECT_EQ(Load(jis + "\x1b(B"), LoadProblem::None);
  EXPECT_EQ(Load(jis + "0!0!0!0!0!0!0!0!\x1b(B"), LoadProblem::TooLarge);
}

// A file of one 800 MiB line aborted the control in its line layout.
TEST_F(ControlLimits, LineLongerThanTheControlLaysOutIsRefusedWhateverEndsIt) {
  SetControlLimitsForTesting(1000, 30);
  std::string line30(30, 'a'), line31(31, 'a');
  for (const char* end : {"\n", "\r", "\r\n"}) {
    EXPECT_EQ(Load("x" + std::string(end) + line30 + end + "y"), LoadProblem::None) << ToHex(end);
    EXPECT_EQ(Load("x" + std::string(end) + line31 + end + "y"), LoadProblem::LineTooLong) << ToHex(end);
    EXPECT_EQ(Load(line30 + end + line30 + end + line30), LoadProblem::None) << ToHex(end);
  }
  EXPECT_EQ(Load(line31), LoadProblem::LineTooLong) << "a file that is one line";
  EXPECT_EQ(Load(std::string(10, '\xff'), kSjis), LoadProblem::None) << "30 bytes in the control";
  EXPECT_EQ(Load(std::string(11, '\xff'), kSjis), LoadProblem::LineTooLong) << "33 bytes in the control";
}

// The longest line as the control holds it, lines ended by CR, LF or CR LF.
std::size_t LongestLine(const std::string& shiftJis) {
  std::size_t longest = 0;
  std::string line;
  for (char c : shiftJis + "\n") {
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    longest = std::max(longest, kanji::ShiftJisCodec::Decode(line).size());
    line.clear();
  }
  return longest;
}

// Random lines of every length around the limit, with pairs, raw bytes and
// every line end: refused exactly when a line is too long.
TEST_F(ControlLimits, EveryLineIsMeasuredWhereverTheLongOneIs) {
  std::mt19937 random(5);
  const std::vector<std::string> units = {"a", "\xff", "\x82\xa0", "\r", "\n", "\r\n", "\r\n", "\n"};
  for (int round = 0; round < 400; ++round) {
    const std::size_t limit = 6 + random() % 40;
    SetControlLimitsForTesting(1 << 20, limit);
    std::string text;
    const std::size_t length = random() % 300;
    while (text.size() < length) {
      const std::string& unit = units[random() % units.size()];
      // Mostly short lines, now and then a run that may be too long: raw
      // bytes take three bytes in the control, letters one.
      if (random() % 30 == 0) {
        const std::size_t run = limit / 4 + random() % limit;
        for (std::size_t i = 0; i < run; ++i) text += (random() % 4 == 0) ? 'b' : '\xff';
      } else {
        text += unit;
      }
    }
    const LoadProblem expected = LongestLine(text) > limit ? LoadProblem::LineTooLong : LoadProblem::None;
    ASSERT_EQ(Load(text, kSjis), expected) << "limit " << limit << ": " << ToHex(text);
  }
  // A line one raw byte longer than a third of the limit, between short ones.
  for (std::size_t limit : {30, 31, 32}) {
    SetControlLimitsForTesting(1 << 20, limit);
    EXPECT_EQ(Load("x\n" + std::string(limit / 3, '\xff') + "\ny", kSjis), LoadProblem::None) << limit;
    EXPECT_EQ(Load("x\n" + std::string(limit / 3 + 1, '\xff') + "\ny", kSjis), LoadProblem::LineTooLong) << limit;
  }
}

TEST(DocumentFile, NulInAJisFileCutsTheTextAndSaysSo) {
  LoadedDocument doc = LoadDocumentFile(Q(Fixture("jis_with_nul.txt")), kAuto, kAuto);
  EXPECT_EQ(doc.codes.load, KanjiCode::Jis);
  EXPECT_EQ(doc.shiftJis, std::string("\x91\x4f\x94\xbc"));  // 前半
  EXPECT_TRUE(doc.cutAtNul);
}

// The file has no 0x00, but the EUC conversion turns the pair 81 61 into
// 71 00: the text after it is lost all the same and must be reported.
TEST(DocumentFile, NulProducedByTheConversionCutsTheTextAndSaysSo) {
  TempDir dir;
  std::string path = dir.File("made_nul.txt");
  WriteFileBytes(path, Hex("78 81 61 79 7A"));  // x, a pair EUC cannot hold, y z
  LoadedDocument doc = LoadDocumentFile(Q(path), kAuto, kAuto);
  ASSERT_EQ(doc.codes.load, KanjiCode::Euc);
  EXPECT_EQ(ToHex(doc.shiftJis), "78 71");
  EXPECT_TRUE(doc.cutAtNul);
}

TEST(DocumentFile, UneditedTextSavedWithCodesZeroAndOneIsByteExact) {
  for (const char* fixture : {"sjis_prose.txt", "jis_prose.txt", "euc_prose.txt", "ascii.txt",
                              "mixed_line_endings.txt", "invalid_bytes.txt", "nul_bytes.txt", "empty.txt",
                              "no_final_newline.txt", "halfwidth_katakana.txt"}) {
    for (int setting : {kNone, kSjis}) {
      LoadedDocument doc = LoadDocumentFile(Q(Fixture(fixture)), setting, kAuto);
      ASSERT_EQ(doc.problem, LoadProblem::None) << fixture;
      EXPECT_EQ(ToHex(EncodeForSave(doc.shiftJis, doc.codes.save)), ToHex(ReadFileBytes(Fixture(fixture))))
          << fixture;
    }
  }
}

TEST(DocumentFile, JisSaveOfSevenBitTextWritesNoEscape) {
  EXPECT_EQ(EncodeForSave("plain\r\n", KanjiCode::Jis), "plain\r\n");
  EXPECT_EQ(EncodeForSave("", KanjiCode::Euc), "");
}

TEST(DocumentFile, SaveCodeLeftAtAutoWritesTheTextUnconverted) {
  EXPECT_EQ(EncodeForSave("\x82\xa0", KanjiCode::Auto), "\x82\xa0");
}

TEST(DocumentFile, UnreadablePathsAreReportedNotLoaded) {
  TempDir dir;
  EXPECT_EQ(LoadDocumentFile(Q(dir.File("missing.txt")), kAuto, kAuto).problem, LoadProblem::Missing);
  EXPECT_EQ(LoadDocumentFile(Q(dir.Path().string()), kAuto, kAuto).problem, LoadProblem::NotAFile);
}

TEST(DocumentFile, FileWithoutReadPermissionIsReportedNotLoaded) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file (CI runs this as an unprivileged user)";
  TempDir dir;
  std::string path = dir.File("secret.txt");
  WriteFileBytes(path, "x");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  EXPECT_EQ(LoadDocumentFile(Q(path), kAuto, kAuto).problem, LoadProblem::Unreadable);
}

TEST(DocumentFile, PathBecomesAbsoluteAndClean) {
  TempDir dir;
  WriteFileBytes(dir.File("a.txt"), "x");
  QString messy = Q(dir.Path().string()) + "/./sub/../a.txt";
  std::filesystem::create_directory(dir.Path() / "sub");
  EXPECT_EQ(LoadDocumentFile(messy, kAuto, kAuto).path, Q(dir.File("a.txt")));
}

}  // namespace
