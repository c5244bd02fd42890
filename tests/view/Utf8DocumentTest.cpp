// UTF-8 documents through the document and its view: detection, byte-exact
// saves, the offer to reopen a file as UTF-8, the status panes, and the
// editing commands on UTF-8 text.

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "ByteStrings.h"
#include "CKanjiCodeDlg.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "DialogTestSupport.h"
#include "GuiTestSupport.h"
#include "LineEndReplacement.h"
#include "Utf8FileCodec.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

std::string FixturePath(const std::string& name) { return std::string(KB_TEST_DATA_DIR) + "/" + name; }
QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr int kAuto = 4, kUtf8 = 5, kShiftJis = 1;

class Utf8DocumentTest : public testing::Test {
 protected:
  std::string Copy(const std::string& fixture) {
    std::string path = settings.dir.File(fixture);
    WriteFileBytes(path, ReadFileBytes(FixturePath(fixture)));
    return path;
  }
  void Codes(int load, int save) {
    settings.profile.WriteProfileInt("KanaCode", "Load", load);
    settings.profile.WriteProfileInt("KanaCode", "Save", save);
  }
  void TypeAtEnd(const QString& text) {
    WritableAsWhenFocusReturns(view);
    view.Control().SetSelection(view.Control().TextLength(), view.Control().TextLength());
    view.Control().ReplaceSelection(text);
  }
  QString Pane(int id) { return view.PaneText(id); }
  QPushButton* ReopenButton() { return view.Notice().ActionButton(); }
  void CloseNotice() {
    for (QToolButton* button : view.Notice().findChildren<QToolButton*>()) button->click();
  }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
  CKb_zeva3Doc doc{settings.profile, view};
};

class Utf8FixtureRoundTrip : public Utf8DocumentTest, public testing::WithParamInterface<const char*> {};

// Open and save unedited writes the file's very bytes: byte-order mark,
// bytes that are no UTF-8, NUL, CR, LF and CR LF, four-byte characters,
// a last line without line end. The size pane shows the bytes a save writes.
TEST_P(Utf8FixtureRoundTrip, SavesTheFileByteForByte) {
  Codes(kUtf8, kAuto);
  const std::string path = Copy(GetParam());
  const std::string original = ReadFileBytes(path);
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(view.LoadCode(), KanjiCodeFromInt(kUtf8));
  EXPECT_EQ(view.SaveCode(), KanjiCodeFromInt(kUtf8));
  EXPECT_EQ(Pane(ids::kPaneCodes), QStringLiteral("UTF→UTF"));
  EXPECT_EQ(Pane(ids::kPaneSize), QStringLiteral("%1バイト").arg(original.size()));
  WriteFileBytes(path, "overwritten");  // (as another program would: the save asks first)
  ASSERT_TRUE(doc.Save());
  EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(original));
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_TRUE(user.asked[0].text.contains(QStringLiteral("ほかのプログラムによって変更されています")));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Utf8FixtureRoundTrip,
                         testing::Values("utf8_prose.txt", "utf8_bom_prose.txt", "utf8_damaged.txt", "empty.txt",
                                         "sjis_prose.txt", "mixed_line_endings.txt"));

TEST_F(Utf8DocumentTest, AutoDetectionOpensUtf8ProseReadable) {
  Codes(kAuto, kAuto);
  ASSERT_TRUE(doc.OpenDocumentFile(Q(Copy("utf8_prose.txt"))));
  EXPECT_EQ(view.LoadCode(), KanjiCodeFromInt(kUtf8));
  EXPECT_EQ(view.SaveCode(), KanjiCodeFromInt(kUtf8));
  EXPECT_NE(view.Control().Utf8Text().find("吾輩は猫である。"), std::string_view::npos);
  EXPECT_NE(view.Control().Utf8Text().find("café 〜 波ダッシュ 😀"), std::string_view::npos);
  EXPECT_TRUE(view.Notice().Text().isEmpty());
  EXPECT_FALSE(view.IsModified());
}

TEST_F(Utf8DocumentTest, BytesThatAreNoUtf8StayApartFromTheirNeighbours) {
  Codes(kUtf8, kAuto);
  const std::string path = Copy("utf8_damaged.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EditorControl& control = view.Control();
  // "cut E3 81 " : deleting the character after "cut " takes the E3 alone.
  const std::size_t at = control.Utf8Text().find("cut ") + 4;
  WritableAsWhenFocusReturns(view);
  control.ReplaceRange(static_cast<long>(at), static_cast<long>(at + 3), "");
  ASSERT_TRUE(doc.Save());
  std::string expected = ReadFileBytes(FixturePath("utf8_damaged.txt"));
  expected.erase(expected.find("cut ") + 4, 1);
  EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(expected));
}

TEST_F(Utf8DocumentTest, EditedTextSavesAsUtf8AndTheSizePaneFollows) {
  Codes(kAuto, kAuto);
  const std::string path = Copy("utf8_bom_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  const std::string original = ReadFileBytes(path);
  TypeAtEnd(QStringLiteral("追記😀"));
  EXPECT_EQ(Pane(ids::kPaneSize), QStringLiteral("%1バイト").arg(original.size() + 10));
  ASSERT_TRUE(doc.Save());
  EXPECT_EQ(ReadFileBytes(path), original + "追記😀");
}

TEST_F(Utf8DocumentTest, ShiftJisDocumentSavedAsUtf8GetsNoByteOrderMark) {
  Codes(kAuto, kUtf8);
  const std::string path = Copy("sjis_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(Pane(ids::kPaneCodes), QStringLiteral("SJS→UTF"));
  ASSERT_TRUE(doc.Save());
  const std::string written = ReadFileBytes(path);
  EXPECT_EQ(written, std::string(view.Control().Utf8Text()));
  EXPECT_FALSE(kanji::Utf8FileCodec::StartsWithByteOrderMark(written));
  EXPECT_NE(written.find("名前はまだ無い。\r\n"), std::string::npos);
}

TEST_F(Utf8DocumentTest, SavingAsShiftJisListsWhatShiftJisLacksFirst) {
  Codes(kAuto, kShiftJis);
  const std::string path = Copy("utf8_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(Pane(ids::kPaneCodes), QStringLiteral("UTF→SJS"));
  user.answers.push_back(MessageAnswer::Cancel);
  EXPECT_FALSE(doc.Save());
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("次の文字は Shift-JIS で表せないため、「?」として保存されます。\n"
                                               "「é」「😀」\n保存しますか？"));
  EXPECT_EQ(user.asked[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("utf8_prose.txt")));
  ASSERT_TRUE(doc.Save());  // OK this time
  const std::string written = ReadFileBytes(path);
  EXPECT_NE(written.find(kanji::ShiftJisCodec::Encode("caf? \xE3\x80\x9C").bytes), std::string::npos)
      << "the wave dash has a Shift-JIS form";
}

TEST_F(Utf8DocumentTest, NewDocumentWithLoadSettingUtf8IsUtf8BothWays) {
  Codes(kUtf8, kAuto);
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_EQ(Pane(ids::kPaneCodes), QStringLiteral("UTF→UTF"));
  TypeAtEnd(QStringLiteral("新規"));
  EXPECT_EQ(Pane(ids::kPaneSize), QStringLiteral("6バイト"));
}

// The default load setting takes a UTF-8 file as Shift-JIS, as before; a
// bar offers to read it again.
TEST_F(Utf8DocumentTest, ShiftJisSettingOffersToReopenAUtf8File) {
  const std::string path = Copy("utf8_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  EXPECT_EQ(view.LoadCode(), KanjiCodeFromInt(kShiftJis));
  EXPECT_EQ(view.Notice().Text(), QStringLiteral("このファイルは UTF-8 で書かれているようです。"));
  ASSERT_TRUE(ReopenButton()->isVisibleTo(&view));
  EXPECT_EQ(ReopenButton()->text(), QStringLiteral("UTF-8 で開き直す"));
  ReopenButton()->click();
  EXPECT_EQ(view.LoadCode(), KanjiCodeFromInt(kUtf8));
  EXPECT_EQ(view.SaveCode(), KanjiCodeFromInt(kUtf8)) << "reopened as UTF-8, it is saved as UTF-8";
  EXPECT_NE(view.Control().Utf8Text().find("吾輩は猫である。"), std::string_view::npos);
  EXPECT_TRUE(view.Notice().Text().isEmpty());
  EXPECT_EQ(doc.PathName(), Q(path));
  EXPECT_TRUE(user.asked.empty());
  ASSERT_TRUE(doc.Save());
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("utf8_prose.txt")));
}

TEST_F(Utf8DocumentTest, ReopeningAModifiedTextAsksToSaveFirst) {
  const std::string path = Copy("utf8_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  TypeAtEnd(QStringLiteral("x"));
  user.answers.push_back(MessageAnswer::Cancel);
  ReopenButton()->click();
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(view.LoadCode(), KanjiCodeFromInt(kShiftJis)) << "cancelled: nothing reopened";
  EXPECT_FALSE(view.Notice().Text().isEmpty()) << "the offer stays";
  user.answers.push_back(MessageAnswer::No);
  ReopenButton()->click();
  EXPECT_EQ(view.LoadCode(), KanjiCodeFromInt(kUtf8));
  EXPECT_FALSE(view.IsModified());
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FixturePath("utf8_prose.txt")));
}

TEST_F(Utf8DocumentTest, TheOfferCanBeClosedAndChangesNothing) {
  ASSERT_TRUE(doc.OpenDocumentFile(Q(Copy("utf8_prose.txt"))));
  CloseNotice();
  EXPECT_TRUE(view.Notice().Text().isEmpty());
  EXPECT_EQ(view.LoadCode(), KanjiCodeFromInt(kShiftJis));
  EXPECT_FALSE(view.IsModified());
}

TEST_F(Utf8DocumentTest, NoOfferForTextsThatAreNoUtf8OrOnlyAscii) {
  for (const char* fixture : {"ascii.txt", "sjis_prose.txt", "utf8_damaged.txt", "empty.txt"}) {
    ASSERT_TRUE(doc.OpenDocumentFile(Q(Copy(fixture)))) << fixture;
    EXPECT_TRUE(view.Notice().Text().isEmpty()) << fixture;
  }
  Codes(kAuto, kAuto);  // detected: nothing to offer
  ASSERT_TRUE(doc.OpenDocumentFile(Q(Copy("utf8_prose.txt"))));
  EXPECT_TRUE(view.Notice().Text().isEmpty());
}

TEST_F(Utf8DocumentTest, PhraseOfJapaneseTextSavesAsUtf8Bytes) {
  Codes(kAuto, kAuto);
  settings.profile.WriteProfileString("LineWord", "Word1", "拝啓");
  const std::string path = Copy("utf8_prose.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  WritableAsWhenFocusReturns(view);
  view.Control().SetSelection(0, 0);
  view.OnCommand(ids::kPhrase1);
  ASSERT_TRUE(doc.Save());
  EXPECT_EQ(ReadFileBytes(path), "拝啓" + ReadFileBytes(FixturePath("utf8_prose.txt")));
}

TEST_F(Utf8DocumentTest, LineEndReplacementKeepsBytesThatAreNoUtf8) {
  Codes(kUtf8, kAuto);
  const std::string path = Copy("utf8_damaged.txt");
  ASSERT_TRUE(doc.OpenDocumentFile(Q(path)));
  WritableAsWhenFocusReturns(view);
  ASSERT_TRUE(LineEndReplacement::Replace(view.Control(), LineEndReplacement::Lf, &view));
  ASSERT_TRUE(doc.Save());
  std::string expected = ReadFileBytes(FixturePath("utf8_damaged.txt"));
  for (std::size_t at; (at = expected.find("\r\n")) != std::string::npos;) expected.erase(at, 1);
  for (char& c : expected) c = c == '\r' ? '\n' : c;
  EXPECT_EQ(ToHex(ReadFileBytes(path)), ToHex(expected));
}

TEST_F(Utf8DocumentTest, KanjiCodeDialogOffersUtf8InBothGroups) {
  Codes(kUtf8, kShiftJis);
  ASSERT_TRUE(doc.OpenDocumentFile(Q(Copy("utf8_prose.txt"))));
  EXPECT_EQ(Pane(ids::kPaneCodes), QStringLiteral("UTF→SJS"));
  int shownLoad = 0;
  AnswerDialogs<CKanjiCodeDlg>([&](CKanjiCodeDlg& dialog) {
    shownLoad = dialog.LoadGroup()->checkedId();
    EXPECT_EQ(dialog.LoadGroup()->buttons().size(), 6);
    EXPECT_EQ(dialog.LoadGroup()->button(CKanjiCodeDlg::kFirstLoadButton + 5)->text(), QStringLiteral("UTF-8"));
    EXPECT_EQ(dialog.SaveGroup()->button(CKanjiCodeDlg::kFirstSaveButton + 5)->text(), QStringLiteral("UTF-8"));
    dialog.SaveGroup()->button(CKanjiCodeDlg::kFirstSaveButton + 5)->click();
    Button(dialog, "ok")->click();
  });
  view.OnCommand(ids::kKanjiCodeSettings);
  EXPECT_EQ(shownLoad, CKanjiCodeDlg::kFirstLoadButton + 5);
  EXPECT_EQ(settings.profile.GetProfileInt("KanaCode", "Save", 0), kUtf8);
  EXPECT_EQ(Pane(ids::kPaneCodes), QStringLiteral("UTF→UTF"));
}

}  // namespace
