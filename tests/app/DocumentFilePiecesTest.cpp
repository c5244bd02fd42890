// JIS and EUC converted a piece at a time join to the whole-text
// conversion, wherever the pieces are cut: inside a pair, inside an escape,
// in two-byte mode, after a lone byte; and a large file is converted and
// checked without a whole copy.

#include "DocumentFilePieces.h"

#include <gtest/gtest.h>

#include <random>

#include "ByteStrings.h"
#include "DocumentFile.h"
#include "KanjiText.h"
#include "RoundTripCheck.h"
#include "TempDir.h"

namespace {

std::string Fixture(const std::string& name) { return ReadFileBytes(std::string(KB_TEST_DATA_DIR) + "/" + name); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string InPieces(PieceConverter convert, std::string_view text, std::size_t pieceSize) {
  std::string joined;
  PieceFeeder feeder(std::move(convert), [&joined](std::string_view piece) { joined += piece; });
  for (std::size_t pos = 0; pos < text.size(); pos += pieceSize) feeder.Feed(text.substr(pos, pieceSize));
  feeder.Finish();
  return joined;
}

// Texts that put every kind of unit at every piece end: fixtures, the
// escapes JIS may hold, lone bytes, and random bytes (some long enough for
// escapes in two-byte mode to span the 64-byte windows ESC is looked for in).
std::vector<std::string> Texts() {
  std::vector<std::string> texts = {Fixture("jis_prose.txt"), Fixture("euc_prose.txt"), Fixture("sjis_prose.txt"),
                                    Fixture("halfwidth_katakana.txt"), Fixture("invalid_bytes.txt"),
                                    Hex("1B 24 42 30 21 30 22 1B 28 42 0A 1B 24 40 1B 1B 28 4A 41"),
                                    Hex("1B 24 42 30 1B 24 42 21 1B 28 42 1B 24 28 44 61 1B 24"),
                                    Hex("A4 A2 8E B1 8F A1 A1 41 A4"), Hex("88 9F 0A 81 41 42 E0")};
  std::mt19937 random(17);
  for (int i = 0; i < 20; ++i) {
    std::string bytes(i < 16 ? 200 : 1000, '\0');
    for (char& c : bytes) c = static_cast<char>("\x1b$(B@J\x0a\x41\xa4\xa2\x88\x9f\x21\x30"[random() % 14]);
    texts.push_back(bytes);
  }
  return texts;
}

TEST(DocumentFilePieces, ReadingJisAndEucJoinsToTheWholeConversionAtEveryPieceSize) {
  for (KanjiCode code : {KanjiCode::Jis, KanjiCode::Euc}) {
    for (const std::string& text : Texts()) {
      std::string whole = kanji::ToShiftJis(text, code);
      for (std::size_t size : {1, 2, 3, 4, 5, 7, 16, 61, 4096})
        ASSERT_EQ(ToHex(InPieces(ToShiftJisPieces(code), text, size)), ToHex(whole))
            << KanjiCodeToInt(code) << " pieces of " << size << ": " << ToHex(text);
    }
  }
}

TEST(DocumentFilePieces, WritingEucJoinsToTheWholeConversionAtEveryPieceSize) {
  for (const std::string& text : Texts()) {
    std::string whole = kanji::FromShiftJis(text, KanjiCode::Euc);
    for (std::size_t size : {1, 2, 3, 5, 16, 4096})
      ASSERT_EQ(ToHex(InPieces(FromShiftJisPieces(KanjiCode::Euc), text, size)), ToHex(whole)) << size;
  }
}

// Pieces that hold a one-byte character write the whole text's escapes;
// pieces of two-byte characters only may switch modes once more, which
// reads back as the same text.
TEST(DocumentFilePieces, WritingJisReadsBackAsTheWholeConversionAndIsItWhenPiecesHoldALineEnd) {
  for (const std::string& text : Texts()) {
    if (text.find('\x1b') != std::string::npos) continue;  // JIS carries no ESC: it reads back as an escape
    std::string whole = kanji::FromShiftJis(text, KanjiCode::Jis);
    for (std::size_t size : {1, 2, 3, 5, 16}) {
      std::string joined = InPieces(FromShiftJisPieces(KanjiCode::Jis), text, size);
      ASSERT_EQ(ToHex(kanji::ToShiftJis(joined, KanjiCode::Jis)), ToHex(kanji::ToShiftJis(whole, KanjiCode::Jis)))
          << size << ": " << ToHex(text);
    }
  }
  std::string prose = Fixture("sjis_prose.txt");
  EXPECT_EQ(InPieces(FromShiftJisPieces(KanjiCode::Jis), prose, 300), kanji::FromShiftJis(prose, KanjiCode::Jis));
}

TEST(DocumentFilePieces, RoundTripCheckFindsTheSameDifferenceWhateverThePieces) {
  struct Case {
    KanjiCode code;
    std::string file, saved;
  };
  std::string jis = Fixture("jis_prose.txt");
  std::string resaved = kanji::FromShiftJis(kanji::ToShiftJis(jis, KanjiCode::Jis), KanjiCode::Jis);
  std::string damaged = resaved;
  damaged[damaged.size() / 2] ^= 1;
  std::string euc = Fixture("euc_prose.txt");
  std::string eucDamaged = euc.substr(0, euc.size() - 3) + "x";
  for (const Case& c : {Case{KanjiCode::Jis, jis, resaved}, Case{KanjiCode::Jis, jis, damaged},
                        Case{KanjiCode::Jis, jis, resaved.substr(0, resaved.size() - 5)},
                        Case{KanjiCode::Euc, euc, eucDamaged}, Case{KanjiCode::Euc, euc, euc + "z"}}) {
    std::optional<RoundTripDifference> whole = FindRoundTripDifference(c.file, c.saved, c.code);
    for (std::size_t size : {1, 2, 3, 64}) {
      RoundTripComparer comparer(c.file, c.code);
      for (std::size_t pos = 0; pos < c.saved.size(); pos += size) comparer.AddSaved(std::string_view(c.saved).substr(pos, size));
      std::optional<RoundTripDifference> pieces = comparer.Finish();
      ASSERT_EQ(pieces.has_value(), whole.has_value()) << size;
      if (!whole) continue;
      EXPECT_EQ(pieces->fileOffset, whole->fileOffset) << size;
      EXPECT_EQ(pieces->fileBytes, whole->fileBytes) << size;
      EXPECT_EQ(pieces->savedBytes, whole->savedBytes) << size;
    }
  }
}

// Lines of prose repeated past the size from which a file is streamed.
std::string LargeText(const std::string& fixture) {
  std::string line = Fixture(fixture);
  std::string text;
  while (text.size() < kStreamedFileBytes + 1000) text += line;
  return text;
}

std::string ReadStreamed(const LoadedDocument& doc) {
  std::string streamed;
  EXPECT_TRUE(ReadDocumentPieces(doc.streamFrom, doc.streamSize, doc.codes,
                                 [&streamed](std::string_view piece) { streamed += piece; }));
  return streamed;
}

TEST(DocumentFilePieces, LargeJisAndEucFilesAreStreamedAsTheirWholeConversion) {
  TempDir dir;
  for (auto [fixture, code] : {std::pair{"jis_prose.txt", KanjiCode::Jis}, std::pair{"euc_prose.txt", KanjiCode::Euc}}) {
    std::string text = LargeText(fixture);
    std::string path = dir.File(fixture);
    WriteFileBytes(path, text);
    LoadedDocument doc = LoadDocumentFile(Q(path), 4, 4);
    ASSERT_EQ(doc.problem, LoadProblem::None);
    EXPECT_EQ(doc.codes.load, code);
    EXPECT_TRUE(doc.shiftJis.empty()) << "streamed, not held";
    EXPECT_FALSE(doc.cutAtNul);
    EXPECT_FALSE(doc.savesDifferently);
    EXPECT_TRUE(ReadStreamed(doc) == kanji::ToShiftJis(text, code)) << fixture;
  }
}

TEST(DocumentFilePieces, LargeFileCutAtNulOrNotSavedBackAsReadIsFoundAsInASmallOne) {
  TempDir dir;
  std::string text = LargeText("euc_prose.txt");
  std::string withNul = text;
  withNul[withNul.size() - 500] = '\0';
  std::string path = dir.File("nul.txt");
  WriteFileBytes(path, withNul);
  LoadedDocument cut = LoadDocumentFile(Q(path), 3, 3);
  EXPECT_TRUE(cut.cutAtNul);
  EXPECT_FALSE(cut.savesDifferently);
  EXPECT_TRUE(ReadStreamed(cut) == kanji::ToShiftJis(text.substr(0, text.size() - 500), KanjiCode::Euc));

  // A pair that is no EUC near the end reads as some character and comes
  // back as other bytes.
  std::string misread = text;
  misread.replace(text.size() - 700, 2, "\xa4\x41");
  std::optional<RoundTripDifference> whole = FindRoundTripDifference(
      misread, kanji::FromShiftJis(kanji::ToShiftJis(misread, KanjiCode::Euc), KanjiCode::Euc), KanjiCode::Euc);
  ASSERT_TRUE(whole);
  ASSERT_GE(whole->fileOffset, text.size() - 700);
  WriteFileBytes(path, misread);
  LoadedDocument detected = LoadDocumentFile(Q(path), 4, 4);
  ASSERT_EQ(detected.codes.load, KanjiCode::Euc);
  ASSERT_TRUE(detected.savesDifferently);
  EXPECT_EQ(detected.savesDifferently->fileOffset, whole->fileOffset);
  EXPECT_EQ(detected.savesDifferently->savedBytes, whole->savedBytes);
}

}  // namespace
