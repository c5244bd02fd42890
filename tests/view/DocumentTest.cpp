// The document with its view: opening and saving files through the
// kanji-code step, and every way a save or a load can go wrong.

#include "CKb_zeva3Doc.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>
#include <filesystem>
#include <cstring>

#include "ByteNames.h"
#include "ByteStrings.h"
#include "CKb_zeva3View.h"
#include "FileName.h"
#include "FileSizeLimit.h"
#include "GuiTestSupport.h"
#include "ViewInternals.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

std::string FixturePath(const std::string& name) { return std::string(KB_TEST_DATA_DIR) + "/" + name; }
QString Q(const std::string& s) { return QString::fromStdString(s); }

class DocumentTest : public testing::Test {
 protected:
  void TearDown() override {
    ResetControlLimitsForTesting();
  }
  // A copy of a fixture in the test's directory, to be saved over.
  std::string Copy(const std::string& fixture) {
    std::string path = settings.dir.File(fixture);
    WriteFileBytes(path, ReadFileBytes(FixturePath(fixture)));
    return path;
  }
  void Type(const QString& text) {
    WritableAsWhenFocusReturns(view);
    view.Control().SetSelection(view.Control().TextLength(), view.Control().TextLength());
    view.Control().ReplaceSelection(text);
  }
  void Codes(int load, int save) {
    settings.profile.WriteProfileInt("KanaCode", "Load", load);
    settings.profile.WriteProfileInt("KanaCode", "Save", save);
  }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
  CKb_zeva3Doc doc{settings.profile, view};
};

TEST_F(DocumentTest, NewDocumentWithAutoSettingsIsShiftJisBothWays) {
  Codes(4, 4);
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(view.LoadCode(), KanjiCode::ShiftJis);
  EXPECT_EQ(view.SaveCode(), KanjiCode::ShiftJis);
  EXPECT_EQ(doc.Title(), QStringLiteral("無題"));
}

TEST_F(DocumentTest, JisFileWithAutoShowsShiftJisAndSavesAsJisAgain) {
  Codes(4, 4);
  std::string path = Copy("jis_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(view.LoadCode(), KanjiCode::Jis);
  EXPECT_EQ(view.SaveCode(), KanjiCode::Jis);
  EXPECT_FALSE(view.IsModified());
  EXPECT_NE(view.Control().Utf8Text().find("吾輩は猫である。"), std::string_view::npos);
  ASSERT_TRUE(doc.Save());
  std::string written = ReadFileBytes(path);
  EXPECT_EQ(written.substr(0, 3), "\x1b$@");
  EXPECT_EQ(kanji::ToShiftJis(written, KanjiCode::Jis),
            kanji::ToShiftJis(ReadFileBytes(FixturePath("jis_prose.txt")), KanjiCode::Jis));
  EXPECT_TRUE(user.asked.empty());
}

TEST_F(DocumentTest, SaveCodeChangedAfterLoadingTakesEffectAtOnce) {
  Codes(4, 4);
  std::string path = Copy("sjis_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  ViewInternals::SaveCode(view) = KanjiCode::Euc;
  ASSERT_TRUE(doc.Save());
  EXPECT_EQ(kanji::ToShiftJis(ReadFileBytes(path), KanjiCode::Euc), ReadFileBytes(FixturePath("sjis_prose.txt")));
}

TEST_F(DocumentTest, UnreadableFilesAreReportedAndTheOpenDocumentKept) {
  std::string path = Copy("sjis_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  std::string missing = settings.dir.File("nothing.txt");
  EXPECT_FALSE(doc.OpenDocumentFile(Q(missing)));
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, Q(missing) + QStringLiteral("\nが見つかりません。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("Kb_zeva3"));
  EXPECT_EQ(user.asked[0].icon, MessageIcon::Exclamation);
  EXPECT_FALSE(doc.OpenDocumentFile(Q(settings.dir.Path().string())));
  EXPECT_EQ(user.asked[1].text, Q(settings.dir.Path().string()) + QStringLiteral("\nはファイルではありません。"));
  EXPECT_EQ(doc.PathName(), Q(path));
  EXPECT_EQ(view.TextForSave(nullptr), ReadFileBytes(path));
}

TEST_F(DocumentTest, FileTooLargeForTheControlIsRefused) {
  std::string path = settings.dir.File("huge.txt");
  WriteFileBytes(path, "");
  ASSERT_EQ(truncate(path.c_str(), 0x80000000LL), 0);  // sparse: no disk used
  EXPECT_FALSE(doc.OpenDocumentFile(Q(path)));
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, Q(path) + QStringLiteral("\nは大きすぎて開けません。"));
}

TEST_F(DocumentTest, TextOrLineTooLargeForTheControlIsRefusedBeforeItIsShown) {
  std::string path = Copy("ascii.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  SetControlLimitsForTesting(60, 20);
  std::string big = settings.dir.File("big.txt");
  WriteFileBytes(big, std::string(30, '\xff'));  // 30 bytes, 90 in the control
  std::string longLine = settings.dir.File("long.txt");
  WriteFileBytes(longLine, std::string(21, 'a') + "\r\n");
  EXPECT_FALSE(doc.OpenDocumentFile(Q(big)));
  EXPECT_FALSE(doc.OpenDocumentFile(Q(longLine)));
  ResetControlLimitsForTesting();
  ASSERT_EQ(user.asked.size(), 2u);
  EXPECT_EQ(user.asked[0].text, Q(big) + QStringLiteral("\nは大きすぎて開けません。"));
  EXPECT_EQ(user.asked[1].text, Q(longLine) + QStringLiteral("\nには長すぎて表示できない行があるため開けません。"));
  EXPECT_EQ(user.asked[1].icon, MessageIcon::Exclamation);
  EXPECT_EQ(doc.PathName(), Q(path)) << "the open document stays";
  EXPECT_EQ(view.TextForSave(nullptr), ReadFileBytes(path));
}

// Opening held the whole file and its whole UTF-8 copy at once (peak 2.9x
// the file): large files are read again piece by piece into the control.
TEST_F(DocumentTest, LargeFileStreamedIntoTheControlIsTheFileByteForByte) {
  std::string path = settings.dir.File("large.txt");
  std::string bytes = "a";  // pairs shifted by one byte straddle the pieces' ends
  while (bytes.size() < kStreamedFileBytes + 100) bytes += "\x82\xa0\x88\x9f\r\n\xff";
  WriteFileBytes(path, bytes);
  ASSERT_EQ(LoadDocumentFile(Q(path), 1, 1).streamFrom, Q(path)) << "streamed, not held";
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_TRUE(view.TextForSave(nullptr) == bytes);
  EXPECT_EQ(view.Control().ShiftJisLength(), bytes.size());
  EXPECT_FALSE(view.IsModified());
  // A file that got shorter after it was measured is not shown as whole.
  EXPECT_FALSE(view.ShowStreamedDocument(Q(path), bytes.size() + 10, {}));
}

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileAndTheDocumentModified) {
  std::string path = Copy("sjis_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  Type(QStringLiteral("追記"));
  {
    FileSizeLimit limit(10);  // the new file stops part-way
    ASSERT_TRUE(limit.ok());
    EXPECT_FALSE(doc.Save());
  }
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text,
            Q(path) + QStringLiteral("\nを保存できませんでした。\n") + QString::fromLocal8Bit(std::strerror(EFBIG)));
  EXPECT_EQ(user.asked[0].icon, MessageIcon::Stop);
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("sjis_prose.txt")));
  EXPECT_TRUE(view.IsModified());
}

TEST_F(DocumentTest, CharactersShiftJisCannotHoldAreListedBeforeSaving) {
  std::string path = Copy("ascii.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  Type(QString::fromUtf8("😀é"));
  user.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(doc.Save());
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("ascii.txt"))) << "cancel writes nothing";
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QString::fromUtf8("次の文字は Shift-JIS で表せないため、「?」として保存されます。\n"
                                                  "「😀」「é」\n保存しますか？"));
  EXPECT_TRUE(doc.Save());  // the default answer is OK
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("ascii.txt")) + "??");
}

// 〜 and − from an input method were saved as "?" after a warning.
TEST_F(DocumentTest, WaveDashAndMinusSignAreSavedAsShiftJisWithoutAWarning) {
  std::string path = Copy("ascii.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  Type(QString::fromUtf8("〜−"));
  EXPECT_TRUE(doc.Save());
  EXPECT_TRUE(user.asked.empty());
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("ascii.txt")) + "\x81\x60\x81\x7C");
}

TEST_F(DocumentTest, SavingAsJisWarnsOfHalfWidthKatakanaAndStillWritesTheWholeText) {
  Codes(1, 2);
  std::string path = Copy("halfwidth_katakana.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  Type(QStringLiteral("最後"));
  user.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(doc.Save());
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("halfwidth_katakana.txt")));
  EXPECT_EQ(user.asked[0].text, QString::fromUtf8("次の文字は JIS で正しく保存できません。\n「ｶ」「ﾀ」「ｶ」「ﾅ」\n保存しますか？"));
  EXPECT_TRUE(doc.Save());
  std::string written = ReadFileBytes(path);
  EXPECT_EQ(written.substr(written.size() - 7), "\x3a\x47\x38\x65" "\x1b(J") << "the text's end (最後) is written";
}

// Pairs held as their bytes are named as the user sees them: the IBM "纊"
// of 0xED40 as its character, an empty cell and a lone byte by their bytes.
TEST_F(DocumentTest, HeldPairsAreListedAsTheirCharacterOrTheirBytes) {
  Codes(1, 2);
  std::string path = settings.dir.File("nec.txt");
  WriteFileBytes(path, "\xED\x40\x8A\xBF\x85\x40\x80");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  user.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(doc.Save());
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QString::fromUtf8("次の文字は JIS で正しく保存できません。\n「纊」「0x8540」「0x80」\n保存しますか？"));
}

// Save As offered a Shift-JIS name as boxes, its bytes read as code points.
// It is offered decoded; kept as offered, it saves to the file's own bytes,
// and changed, to the name typed.
TEST_F(DocumentTest, SaveAsOffersANameInShiftJisBytesDecodedAndKeepsItsBytes) {
  const std::string path = settings.dir.File(kEveryShiftJisClassName);
  WriteFileBytes(path, "old");
  ASSERT_TRUE(doc.OpenDocumentFile(FileName::FromBytes(path)));
  EXPECT_EQ(doc.Title().toStdString(), kEveryShiftJisClassNameShown);
  QString offered;
  platform::SetSavePathHandler([&](const QString& suggested) {
    offered = suggested;
    return std::optional(suggested);
  });
  Type(QStringLiteral("x"));
  ASSERT_TRUE(doc.SaveAs());
  EXPECT_EQ(offered.toStdString(), settings.dir.File(kEveryShiftJisClassNameShown));
  EXPECT_EQ(ReadFileBytes(path), "oldx");
  EXPECT_FALSE(std::filesystem::exists(settings.dir.File(kEveryShiftJisClassNameShown)));
  platform::SetSavePathHandler([&](const QString&) { return std::optional(Q(settings.dir.File("new.txt"))); });
  ASSERT_TRUE(doc.SaveAs());
  EXPECT_EQ(ReadFileBytes(settings.dir.File("new.txt")), "oldx");
}

TEST_F(DocumentTest, LongListsOfCharactersShowTheFirstTenAndCountTheRest) {
  Codes(1, 3);
  std::string path = settings.dir.File("kana.txt");
  WriteFileBytes(path, std::string(12, '\xb1') + "\x1b");  // twelve ｱ and an ESC
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  platform::SetSavePathHandler([&](const QString&) { return std::optional(Q(path)); });
  user.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(doc.SaveAs());
  ASSERT_EQ(user.asked.size(), 1u);
  QString tenKana;
  for (int i = 0; i < 10; ++i) tenKana += QStringLiteral("「ｱ」");
  EXPECT_EQ(user.asked[0].text, QStringLiteral("次の文字は EUC で正しく保存できません。\n") + tenKana +
                                    QStringLiteral(" ほか 3 文字\n保存しますか？"));
}

TEST_F(DocumentTest, JisFileCutAtNulSaysSoAndAsksBeforeSavingOverIt) {
  Codes(4, 4);
  std::string path = Copy("jis_with_nul.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].icon, MessageIcon::Information);
  EXPECT_TRUE(user.asked[0].text.contains(QStringLiteral("0x00")));
  user.answers = {MessageAnswer::No};
  EXPECT_FALSE(doc.Save());
  EXPECT_EQ(user.asked[1].buttons, MessageButtons::YesNo);
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("jis_with_nul.txt")));
  // Saved elsewhere, nothing is lost and no question is asked.
  std::string other = settings.dir.File("other.txt");
  platform::SetSavePathHandler([&](const QString&) { return std::optional(Q(other)); });
  EXPECT_TRUE(doc.SaveAs());
  EXPECT_EQ(user.asked.size(), 2u);
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("jis_with_nul.txt")));
}

// Shift-JIS taken for EUC was shown mangled and Ctrl+S wrote the mangled
// bytes without a word.
TEST_F(DocumentTest, DetectedCodeThatCannotSaveBackSaysSoAtOnceAndAsksBeforeSaving) {
  Codes(4, 4);
  std::string path = settings.dir.File("price.txt");
  const std::string original = "price 100\x89\x7e only";
  WriteFileBytes(path, original);
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_TRUE(user.asked.empty()) << "a bar, not a box";
  EXPECT_EQ(view.Notice().Text(), QStringLiteral("この文書は読み込んだとおりには保存できません（自動判別: EUC）\n"
                                                 "ファイルの 10 バイト目からの 89 7E 20 6F は、保存すると 75 1D 20 6F になります。"));
  user.answers = {MessageAnswer::No};
  EXPECT_FALSE(doc.Save());
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, Q(path) + QStringLiteral("\nは読み込んだとおりには保存できません（自動判別: EUC）。\n"
                                                         "上書き保存すると、ファイルの内容が変わります。保存しますか？"));
  EXPECT_EQ(user.asked[0].icon, MessageIcon::Question);
  EXPECT_EQ(user.asked[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(ReadFileBytes(path), original);
  // Saved elsewhere, the file read is untouched and nothing is asked.
  std::string other = settings.dir.File("other.txt");
  platform::SetSavePathHandler([&](const QString&) { return std::optional(Q(other)); });
  EXPECT_TRUE(doc.SaveAs());
  EXPECT_EQ(user.asked.size(), 1u);
  // Opened again and saved over with Yes, it is asked only the first time.
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_FALSE(view.Notice().Text().isEmpty());
  EXPECT_TRUE(doc.Save());
  EXPECT_EQ(user.asked.size(), 2u);
  EXPECT_TRUE(doc.Save());
  EXPECT_EQ(user.asked.size(), 2u);
  EXPECT_TRUE(doc.OnNewDocument());
  EXPECT_TRUE(view.Notice().Text().isEmpty()) << "the next document takes the bar away";
}

TEST_F(DocumentTest, ModifiedTextIsNeverDroppedWithoutAsking) {
  std::string path = Copy("ascii.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  Type(QStringLiteral("x"));
  user.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(doc.OnNewDocument());
  EXPECT_EQ(user.asked[0].text, QStringLiteral("ascii.txt への変更を保存しますか？"));
  EXPECT_EQ(user.asked[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(doc.PathName(), Q(path));
  user.answers = {MessageAnswer::No};
  EXPECT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("ascii.txt")));
  Type(QStringLiteral("y"));
  platform::SetSavePathHandler([&](const QString&) { return std::optional(Q(settings.dir.File("new.txt"))); });
  user.answers = {MessageAnswer::Yes};
  EXPECT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(ReadFileBytes(settings.dir.File("new.txt")), "y");
}

// The save prompt and the file errors said "Kaboma Edit 3", the window's
// title, where the application's name "Kb_zeva3" belongs.
TEST_F(DocumentTest, SavePromptAndFileErrorsWereCaptionedWithTheWindowTitle) {
  Type(QStringLiteral("x"));
  user.answers = {MessageAnswer::Cancel, MessageAnswer::No};
  EXPECT_FALSE(doc.OnNewDocument());
  EXPECT_FALSE(doc.OpenDocumentFile(Q(settings.dir.File("nothing.txt"))));
  ASSERT_EQ(user.asked.size(), 3u);
  for (const platform::MessageRequest& asked : user.asked) EXPECT_EQ(asked.caption, QStringLiteral("Kb_zeva3"));
}

// Save As offered only "All Files (*)": no text-file filter, no ".txt" added
// to a name typed without one, and nothing suggested for an untitled text.
TEST_F(DocumentTest, SaveAsOfferedOnlyAllFilesAndAddedNoExtension) {
  Type(QStringLiteral("x"));
  platform::SetSavePathHandler({});  // the real dialog, answered below
  QStringList filters;
  QString selectedFilter, suggested;
  QString typed = Q(settings.dir.File("memo"));
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return ADD_FAILURE() << "no file dialog";
    filters = dialog->nameFilters();
    selectedFilter = dialog->selectedNameFilter();
    suggested = QFileInfo(dialog->selectedFiles().value(0)).fileName();
    dialog->selectFile(typed);
    QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
  });
  ASSERT_TRUE(doc.SaveAs());
  EXPECT_EQ(filters, QStringList({QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)"), QStringLiteral("全てのファイル (*)")}));
  EXPECT_EQ(selectedFilter, filters.value(0));
  EXPECT_EQ(suggested, QStringLiteral("無題.txt"));
  EXPECT_EQ(doc.PathName(), typed + QStringLiteral(".txt"));
  EXPECT_EQ(ReadFileBytes(settings.dir.File("memo.txt")), "x");
}

TEST_F(DocumentTest, UneditedFilesSaveBackByteForByte) {
  for (const char* fixture : {"sjis_prose.txt", "mixed_line_endings.txt", "invalid_bytes.txt", "nul_bytes.txt",
                              "empty.txt", "no_final_newline.txt"}) {
    std::string path = Copy(fixture);
    ASSERT_TRUE(doc.OpenDocumentFile(Q(path))) << fixture;
    ASSERT_TRUE(doc.Save()) << fixture;
    EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(ReadFileBytes(FixturePath(fixture)))) << fixture;
  }
  EXPECT_TRUE(user.asked.empty());
}

}  // namespace
