// The check behind the offer to read a file again in its own code: which
// code a file read in the setting's code is offered in, and the files that
// get no offer because a wrong one is worse than none.

#include "DocumentFileCodeCheck.h"

#include <gtest/gtest.h>

#include "ByteStrings.h"
#include "DocumentFile.h"
#include "KanjiText.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"

namespace {

using K = KanjiCode;

std::string Fixture(const std::string& name) { return ReadFileBytes(std::string(KB_TEST_DATA_DIR) + "/" + name); }
std::string Sjis(const char* utf8) { return kanji::ShiftJisCodec::Encode(utf8).bytes; }
std::string Euc(const char* utf8) { return kanji::FromShiftJis(Sjis(utf8), K::Euc); }

std::optional<K> Offered(const std::string& bytes, K readIn) { return PlainlyOtherCode(bytes, true, readIn); }

struct FixtureCase {
  const char* fixture;
  K readIn;
  std::optional<K> offered;
};

void PrintTo(const FixtureCase& c, std::ostream* os) {
  *os << c.fixture << " read as " << KanjiCodeDisplayName(c.readIn);
}

class FixtureOffers : public testing::TestWithParam<FixtureCase> {};

TEST_P(FixtureOffers, OfferTheCodeTheFileIsPlainlyIn) {
  const FixtureCase& c = GetParam();
  EXPECT_EQ(Offered(Fixture(c.fixture), c.readIn), c.offered);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFixtureAndCode, FixtureOffers,
    testing::Values(FixtureCase{"euc_prose.txt", K::ShiftJis, K::Euc}, FixtureCase{"euc_prose.txt", K::Jis, K::Euc},
                    FixtureCase{"euc_prose.txt", K::Euc, std::nullopt},
                    FixtureCase{"jis_prose.txt", K::ShiftJis, K::Jis}, FixtureCase{"jis_prose.txt", K::Euc, K::Jis},
                    FixtureCase{"jis_prose.txt", K::Jis, std::nullopt},
                    FixtureCase{"utf8_prose.txt", K::ShiftJis, K::Utf8}, FixtureCase{"utf8_prose.txt", K::Jis, K::Utf8},
                    FixtureCase{"utf8_prose.txt", K::Euc, K::Utf8},
                    FixtureCase{"utf8_bom_prose.txt", K::ShiftJis, K::Utf8},
                    FixtureCase{"sjis_prose.txt", K::ShiftJis, std::nullopt},
                    FixtureCase{"sjis_prose.txt", K::Euc, K::ShiftJis}, FixtureCase{"sjis_prose.txt", K::Jis, K::ShiftJis},
                    FixtureCase{"halfwidth_katakana.txt", K::ShiftJis, std::nullopt},
                    FixtureCase{"mixed_line_endings.txt", K::ShiftJis, std::nullopt},
                    FixtureCase{"no_final_newline.txt", K::ShiftJis, std::nullopt},
                    FixtureCase{"ascii.txt", K::ShiftJis, std::nullopt}, FixtureCase{"ascii.txt", K::Jis, std::nullopt},
                    FixtureCase{"ascii.txt", K::Euc, std::nullopt}, FixtureCase{"empty.txt", K::ShiftJis, std::nullopt},
                    FixtureCase{"invalid_bytes.txt", K::ShiftJis, std::nullopt},
                    FixtureCase{"nul_bytes.txt", K::ShiftJis, std::nullopt},
                    FixtureCase{"jis_with_nul.txt", K::ShiftJis, std::nullopt},
                    FixtureCase{"utf8_damaged.txt", K::ShiftJis, std::nullopt},
                    // The settings that read every file as it is, or detect, are never second-guessed.
                    FixtureCase{"euc_prose.txt", K::None, std::nullopt},
                    FixtureCase{"euc_prose.txt", K::Auto, std::nullopt},
                    FixtureCase{"euc_prose.txt", K::Utf8, std::nullopt}));

// Shift-JIS texts that detection takes for EUC (no byte of 0x80-0x9F after
// the first high byte), and others that read in EUC as something: read as
// Shift-JIS, as they are, they get no offer.
TEST(CodeCheck, ShiftJisThatDetectionTakesForEucGetsNoOffer) {
  for (const char* text : {"price 100円 only", "Meeting at 10:00。Bring notes.", "ｱｲｳｴｵ ｶｷｸｹｺ\r\n",
                           "ｱｲｳｴ ｶｷｸｹ\r\n", "ﾃｽﾄ､ﾃｽﾄ｡ｱｲ､ｳｴ､\r\n", "ｶﾀｶﾅ と ひらがな", "円", "漢字ｶﾅ\r\n"}) {
    const std::string bytes = Sjis(text);
    EXPECT_EQ(Offered(bytes, K::ShiftJis), std::nullopt) << text << " " << ToHex(bytes);
  }
}

// EUC's single shift 0x8E before half-width katakana looks like Shift-JIS
// to detection; read as Shift-JIS it is still plainly EUC.
TEST(CodeCheck, EucWithHalfWidthKatakanaIsOfferedAsEuc) {
  // "ｶﾀｶﾅのテスト\n" as an EUC writer writes it (the editor's own save
  // writes half-width katakana otherwise).
  const std::string euc = Hex("8E B6 8E C0 8E B6 8E C5 A4 CE A5 C6 A5 B9 A5 C8 0A");
  EXPECT_EQ(kanji::DetectCode(euc), K::ShiftJis);
  EXPECT_EQ(Offered(euc, K::ShiftJis), K::Euc);
  EXPECT_EQ(Offered(euc, K::Euc), std::nullopt);
}

// Readings that would show other characters than the file's: no offer.
TEST(CodeCheck, TextsThatNoCodeReadsCleanlyGetNoOffer) {
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"EUC of kanji only (no kana to tell it by)", Euc("山田太郎\n佐藤花子\n")},
      {"EUC with a byte that is no EUC", Euc("ひらがな") + "\x80" + Euc("です")},
      {"EUC with a control byte", Euc("ひらがな\x01です")},
      {"JIS with the escape of half-width katakana", Hex("1B 24 42 24 22 1B 28 49 31 32 1B 28 42")},
      {"JIS with a line end inside two-byte mode", Hex("1B 24 42 24 22 0A 24 24 1B 28 42")},
      {"JIS escapes around nothing", Hex("1B 24 42 1B 28 42 61")},
      {"an escape of a terminal", Hex("1B 5B 33 31 6D 61 1B 5B 30 6D")},
  };
  for (const auto& c : cases) EXPECT_EQ(Offered(c.bytes, K::ShiftJis), std::nullopt) << c.what;
}

// A file past the check's reach is judged by its start: a 0x00 after the
// first megabyte (which would hold back any offer) is never seen, and an
// EUC character cut by the check's end is no fault.
TEST(CodeCheck, OnlyTheStartOfALargeFileIsLookedAt) {
  const std::string line = Euc("吾輩は猫である。名前はまだ無い。\n");
  std::string bytes;
  while (bytes.size() < kCodeCheckBytes + 1000) bytes += line;
  bytes += std::string(1, '\0');
  EXPECT_EQ(PlainlyOtherCode(bytes, true, K::ShiftJis), K::Euc);
  EXPECT_EQ(PlainlyOtherCode(std::string_view(bytes).substr(0, kCodeCheckBytes - 1), false, K::ShiftJis), K::Euc);
}

TEST(CodeCheck, LoadedDocumentCarriesTheOfferWhateverItsSize) {
  TempDir dir;
  const std::string path = dir.File("euc.txt");
  WriteFileBytes(path, Fixture("euc_prose.txt"));
  LoadedDocument doc = LoadDocumentFile(QString::fromStdString(path), 1, 1);
  EXPECT_EQ(doc.codes.load, K::ShiftJis) << "the setting's code is the one read in";
  EXPECT_EQ(doc.plainlyIn, K::Euc);
  EXPECT_EQ(LoadDocumentFile(QString::fromStdString(path), 3, 3).plainlyIn, std::nullopt);
  // Streamed into the control (8 MB and more) as well.
  std::string large;
  while (large.size() < kStreamedFileBytes + 1) large += Fixture("euc_prose.txt");
  WriteFileBytes(path, large);
  doc = LoadDocumentFile(QString::fromStdString(path), 1, 1);
  EXPECT_FALSE(doc.streamFrom.isEmpty());
  EXPECT_EQ(doc.plainlyIn, K::Euc);
}

}  // namespace
