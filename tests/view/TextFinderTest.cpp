// Find and replace against the view: the modeless dialog, the selection it
// leaves, wrap-around, the not-found message, replace next and replace-all
// as one undo step with its count.

#include "TextFinder.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "CFindReplaceDlg.h"
#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "DialogTestSupport.h"
#include "DocumentFile.h"
#include "GuiTestSupport.h"

namespace {

using platform::MessageIcon;

class TextFinderTest : public testing::Test {
 protected:
  // Shift-JIS bytes in, as a document is shown.
  void Show(const std::string& utf8) { view.ShowDocument(kanji::ShiftJisCodec::Encode(utf8).bytes, {}); }
  CFindReplaceDlg& Open(int command, const char* find = nullptr) {
    view.OnCommand(command);
    CFindReplaceDlg* dialog = view.Finder().Dialog();
    EXPECT_NE(dialog, nullptr);
    if (find) dialog->FindEdit()->setText(QString::fromUtf8(find));
    return *dialog;
  }
  void Check(CFindReplaceDlg& dialog, const char* option) {
    dialog.findChild<QAbstractButton*>(QString::fromLatin1(option))->setChecked(true);
  }
  std::string Selected() const {
    long start = view.Control().SelectionStart(), end = view.Control().SelectionEnd();
    return std::string(view.Control().Utf8Text().substr(start, end - start));
  }
  long SelectionStart() const { return view.Control().SelectionStart(); }
  std::string Text() const { return std::string(view.Control().Utf8Text()); }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
  QSignalSpy status{&view, &CKb_zeva3View::StatusMessage};
};

TEST_F(TextFinderTest, FindOpensAModelessJapaneseDialogAndReplaceAddsItsPart) {
  Show("本文");
  CFindReplaceDlg& dialog = Open(ids::kFind);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.isModal());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("検索"));
  QStringList labels;
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->isVisible()) labels << label->text();
  EXPECT_EQ(labels, QStringList{QStringLiteral("検索する文字列(&N):")});
  auto text = [&](const char* name) { return Button(dialog, name)->text(); };
  EXPECT_EQ(text("findNext"), QStringLiteral("次を検索(&F)"));
  EXPECT_EQ(text("cancel"), QStringLiteral("キャンセル"));
  EXPECT_EQ(text("matchCase"), QStringLiteral("大文字と小文字を区別する(&C)"));
  EXPECT_EQ(text("wholeWord"), QStringLiteral("単語単位で探す(&W)"));
  EXPECT_EQ(text("regularExpression"), QStringLiteral("正規表現(&E)"));
  EXPECT_EQ(text("up"), QStringLiteral("上へ(&U)"));
  EXPECT_EQ(text("down"), QStringLiteral("下へ(&D)"));
  EXPECT_FALSE(Button(dialog, "replace")->isVisible());
  EXPECT_FALSE(Button(dialog, "findNext")->isEnabled()) << "nothing typed yet";

  Open(ids::kReplace);
  EXPECT_EQ(&dialog, view.Finder().Dialog()) << "one dialog, in its other form";
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("置換"));
  EXPECT_TRUE(dialog.findChild<QLabel*>()->isVisible());
  EXPECT_EQ(dialog.ReplaceEdit()->isVisible(), true);
  EXPECT_EQ(text("replace"), QStringLiteral("置換して次に(&R)"));
  EXPECT_EQ(text("replaceAll"), QStringLiteral("すべて置換(&A)"));
  QStringList visibleLabels;
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->isVisible()) visibleLabels << label->text();
  EXPECT_TRUE(visibleLabels.contains(QStringLiteral("置換後の文字列(&P):")));
}

TEST_F(TextFinderTest, ASelectionWithinOneLineIsPrefilledAndOneAcrossLinesIsNot) {
  Show("今日は晴れ\r\n明日も晴れ");
  view.Control().SetSelection(9, 15);  // 晴れ
  EXPECT_EQ(Open(ids::kFind).FindText(), QStringLiteral("晴れ"));
  view.Control().SetSelection(0, 20);
  EXPECT_EQ(Open(ids::kFind).FindText(), QStringLiteral("晴れ")) << "the last string stays";
}

TEST_F(TextFinderTest, EnterFindsDownShiftEnterUpAndTheSearchWrapsAroundSayingSo) {
  Show("晴れ、晴れ、晴れ");  // at 0, 9 and 18
  CFindReplaceDlg& dialog = Open(ids::kFind, "晴れ");
  QTest::keyClick(dialog.FindEdit(), Qt::Key_Return);
  EXPECT_EQ(SelectionStart(), 0);
  QTest::keyClick(dialog.FindEdit(), Qt::Key_Return);
  EXPECT_EQ(SelectionStart(), 9);
  EXPECT_EQ(Selected(), "晴れ");
  QTest::keyClick(dialog.FindEdit(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(SelectionStart(), 0);
  EXPECT_TRUE(status.isEmpty());
  QTest::keyClick(dialog.FindEdit(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(SelectionStart(), 18) << "up from the first wraps to the last";
  ASSERT_EQ(status.size(), 1);
  EXPECT_EQ(status[0][0].toString(), QStringLiteral("文書の先頭まで検索したので、末尾から検索しました。"));
  Button(dialog, "up")->click();
  Button(dialog, "findNext")->click();
  EXPECT_EQ(SelectionStart(), 9) << "the direction buttons choose where Enter goes";
  view.Control().SetSelection(18, 24);
  Button(dialog, "down")->click();
  Button(dialog, "findNext")->click();
  EXPECT_EQ(SelectionStart(), 0);
  EXPECT_EQ(status.last()[0].toString(), QStringLiteral("文書の末尾まで検索したので、先頭から検索しました。"));
  EXPECT_TRUE(user.asked.empty());
}

TEST_F(TextFinderTest, AStringFoundNowhereIsNamedInTheMessage) {
  Show("猫と猫");
  CFindReplaceDlg& dialog = Open(ids::kFind, "犬");
  view.Control().SetSelection(3, 3);
  EXPECT_FALSE(view.Finder().FindNext(true));
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("「犬」が見つかりません。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("Kaboma Edit 3"));
  EXPECT_EQ(user.asked[0].icon, MessageIcon::Information);
  EXPECT_EQ(SelectionStart(), 3) << "the caret stays";
  dialog.FindEdit()->setText(QStringLiteral("(犬"));
  Check(dialog, "regularExpression");
  view.Finder().FindNext(true);
  ASSERT_EQ(user.asked.size(), 2u);
  EXPECT_TRUE(user.asked[1].text.startsWith(QStringLiteral("正規表現が正しくありません。\n")));
  EXPECT_EQ(user.asked[1].icon, MessageIcon::Exclamation);
}

TEST_F(TextFinderTest, OptionsReachTheSearch) {
  Show("Cat cat concat CAT");
  CFindReplaceDlg& dialog = Open(ids::kFind, "cat");
  Check(dialog, "matchCase");
  Check(dialog, "wholeWord");
  view.Finder().FindNext(true);
  EXPECT_EQ(SelectionStart(), 4);
  view.Finder().FindNext(true);
  EXPECT_EQ(SelectionStart(), 4) << "the only match, found again after wrapping";
}

TEST_F(TextFinderTest, ReplaceNextReplacesTheSelectedMatchThenSelectsTheNext) {
  Show("赤 青 赤 赤");
  CFindReplaceDlg& dialog = Open(ids::kReplace, "赤");
  dialog.ReplaceEdit()->setText(QStringLiteral("白"));
  view.Control().SetSelection(0, 0);
  Button(dialog, "replace")->click();  // nothing selected: only finds
  EXPECT_EQ(Text(), "赤 青 赤 赤");
  EXPECT_EQ(SelectionStart(), 0);
  Button(dialog, "replace")->click();
  EXPECT_EQ(Text(), "白 青 赤 赤");
  EXPECT_EQ(SelectionStart(), 8);
  EXPECT_EQ(Selected(), "赤");
}

TEST_F(TextFinderTest, ReplaceAllIsOneUndoStepAndReportsItsCount) {
  Show("かな漢字かな\r\nかな\r\n");
  view.ClearModified();
  CFindReplaceDlg& dialog = Open(ids::kReplace, "かな");
  dialog.ReplaceEdit()->setText(QStringLiteral("カナカナ"));
  view.Control().SetReadOnly(true);  // as while the dialog has the focus
  Button(dialog, "replaceAll")->click();
  EXPECT_EQ(Text(), "カナカナ漢字カナカナ\r\nカナカナ\r\n");
  EXPECT_TRUE(view.Control().IsReadOnly()) << "writable only for the replacement";
  EXPECT_TRUE(view.IsModified());
  ASSERT_EQ(status.size(), 1);
  EXPECT_EQ(status[0][0].toString(), QStringLiteral("3 箇所を置換しました。"));
  EXPECT_EQ(Selected(), "カナカナ") << "the last replacement";
  view.Control().SetReadOnly(false);
  view.OnCommand(ids::kUndo);
  EXPECT_EQ(Text(), "かな漢字かな\r\nかな\r\n");
  EXPECT_FALSE(view.Control().isUndoAvailable()) << "one step undid all three";
}

// Regression: near the control's limit Replace All reported its count while
// the control had deleted the matches and refused the replacements.
TEST_F(TextFinderTest, ReplaceAllPastTheControlsLimitChangesNothingAndCountsNothing) {
  Show("ab ab ab ab ab");
  view.ClearModified();
  CFindReplaceDlg& dialog = Open(ids::kReplace, "ab");
  dialog.ReplaceEdit()->setText(QStringLiteral("abcd"));
  SetControlLimitsForTesting(20, 20);  // 14 bytes now, 24 after
  EXPECT_EQ(view.Finder().ReplaceAll(), 0);
  ResetControlLimitsForTesting();
  EXPECT_EQ(Text(), "ab ab ab ab ab");
  EXPECT_FALSE(view.IsModified());
  EXPECT_FALSE(view.Control().isUndoAvailable());
  EXPECT_TRUE(status.empty()) << "no count of replacements that were not made";
}

TEST_F(TextFinderTest, ReplaceAllWithRegularExpressionsUsesGroupsAndSurvivesEmptyMatches) {
  Show("山田 太郎\r\n佐藤 花子\r\n");
  CFindReplaceDlg& dialog = Open(ids::kReplace, "^(\\S+) (\\S+)$");
  Check(dialog, "regularExpression");
  dialog.ReplaceEdit()->setText(QStringLiteral("$2 $1"));
  EXPECT_EQ(view.Finder().ReplaceAll(), 2);
  EXPECT_EQ(Text(), "太郎 山田\r\n花子 佐藤\r\n");
  dialog.FindEdit()->setText(QStringLiteral("^"));
  dialog.ReplaceEdit()->setText(QStringLiteral("> "));
  EXPECT_EQ(view.Finder().ReplaceAll(), 2) << "the empty end after the last line ending is no line";
  EXPECT_EQ(Text(), "> 太郎 山田\r\n> 花子 佐藤\r\n");
}

TEST_F(TextFinderTest, ReplaceAllOfNothingSaysNotFoundAndChangesNothing) {
  Show("abc");
  CFindReplaceDlg& dialog = Open(ids::kReplace, "x");
  Button(dialog, "replaceAll")->click();
  EXPECT_EQ(Text(), "abc");
  EXPECT_FALSE(view.IsModified());
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("「x」が見つかりません。"));
  EXPECT_TRUE(status.isEmpty());
}

TEST_F(TextFinderTest, RawBytesSurviveReplaceAllOfTheirNeighbours) {
  view.ShowDocument("a\x80" "b\xA0" "a", {});
  Open(ids::kReplace, "a").ReplaceEdit()->setText(QStringLiteral("\uF780"));
  EXPECT_EQ(view.Finder().ReplaceAll(), 2);
  EXPECT_EQ(view.TextForSave(nullptr), "\x80\x80" "b\xA0\x80");
  Open(ids::kFind, "\uF780");
  view.Finder().FindNext(true);
  EXPECT_EQ(user.asked.size(), 1u) << "a typed character never finds a raw byte";
}

TEST_F(TextFinderTest, CancelHidesTheDialogAndKeepsItsString) {
  Show("abc");
  CFindReplaceDlg& dialog = Open(ids::kFind, "b");
  Button(dialog, "cancel")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(Open(ids::kFind).FindText(), QStringLiteral("b"));
}

}  // namespace
