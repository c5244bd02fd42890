// Caret jumps and go-to-line on the view's commands, with the go-to-line
// dialog answered through the modal seam.

#include "CaretJumps.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "CGotoLineDlg.h"
#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"

namespace {

class CaretJumpsTest : public testing::Test {
 protected:
  void SetUp() override {
    settings.profile.WriteProfileInt("Config", "WordWrap", 0);
    view.resize(400, 300);
    view.show();
  }
  void Show(const std::string& text) {
    view.ShowDocument(text, {});
    Settle();
  }
  // Wrapping is laid out as the control paints and idles.
  void Settle() {
    for (int i = 0; i < 5; ++i) QTest::qWait(10);
  }
  void Caret(long position) { control().SetSelection(position, position); }
  long CaretAfter(int command) {
    view.OnCommand(command);
    EXPECT_EQ(control().SelectionStart(), control().SelectionEnd()) << "the selection collapses";
    return control().CaretPosition();
  }
  // Runs go-to-line, typing `entry` into the box and pressing OK.
  long CaretAfterGoTo(const QString& entry) {
    platform::SetDialogHandler([entry](QDialog& dialog) {
      auto& goTo = dynamic_cast<CGotoLineDlg&>(dialog);
      QTest::keyClicks(goTo.LineEdit(), entry);
      goTo.OkButton()->click();
      return dialog.result();
    });
    view.OnCommand(ids::kGoToLine);
    return control().CaretPosition();
  }
  EditorControl& control() { return view.Control(); }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
};

TEST_F(CaretJumpsTest, LineEndStopsBeforeTheLineBreakAndOnTheLastLineAtTheEndOfTheText) {
  Show("abc\r\nde");
  Caret(1);
  EXPECT_EQ(CaretAfter(ids::kLineEnd), 3);
  Caret(5);
  EXPECT_EQ(CaretAfter(ids::kLineEnd), 7);
  EXPECT_EQ(CaretAfter(ids::kLineStart), 5);
  EXPECT_EQ(CaretAfter(ids::kDocumentStart), 0);
  EXPECT_EQ(CaretAfter(ids::kDocumentEnd), 7);
}

TEST_F(CaretJumpsTest, EveryJumpCollapsesTheSelection) {
  Show("abc\r\nde\r\nfgh");
  for (int command : {ids::kLineStart, ids::kLineEnd, ids::kDocumentStart, ids::kDocumentEnd}) {
    control().SetSelection(1, 6);
    CaretAfter(command);
  }
}

TEST_F(CaretJumpsTest, LineEndOnAnEmptyLineStaysAtItsStart) {
  for (std::string text : {"abc\r\n\r\nde", "abc\n\nde", "abc\r\rde"}) {
    Show(text);
    long emptyLine = control().LineStart(1);
    Caret(emptyLine);
    EXPECT_EQ(CaretAfter(ids::kLineEnd), emptyLine) << text;
  }
}

TEST_F(CaretJumpsTest, TextEndOnAnEmptyLastLineIsOnThatLine) {
  Show("abc\r\n");
  Caret(0);
  EXPECT_EQ(CaretAfter(ids::kDocumentEnd), 5);
  EXPECT_EQ(control().LineFromPosition(control().CaretPosition()), 1);
}

TEST_F(CaretJumpsTest, WithWrappingEachRowIsALineAndARowEndsBeforeItsLastCharacter) {
  std::string words;
  for (int i = 0; i < 40; ++i) words += "word ";
  Show(words + "\r\nnext");
  view.OnWordWrap();
  Settle();
  CaretJumps jumps(control());
  ASSERT_GT(jumps.DisplayRowCount(), 3);
  long secondRow = jumps.DisplayRowStart(1);
  long thirdRow = jumps.DisplayRowStart(2);
  ASSERT_GT(secondRow, 0);
  ASSERT_GT(thirdRow, secondRow);
  EXPECT_EQ(words.substr(secondRow, 4), "word") << "rows start at a word";
  Caret(secondRow + 2);
  EXPECT_EQ(CaretAfter(ids::kLineEnd), thirdRow - 1);
  Caret(secondRow + 2);
  EXPECT_EQ(CaretAfter(ids::kLineStart), secondRow);
  EXPECT_EQ(CaretAfterGoTo(QStringLiteral("2")), secondRow);
  int lastRow = jumps.DisplayRowCount();
  EXPECT_EQ(CaretAfterGoTo(QString::number(lastRow)), control().LineStart(1));
}

// Regression: on a wrapped row ending in a character of several bytes the
// caret went to the next row.
TEST_F(CaretJumpsTest, RowEndOfJapaneseStopsBeforeTheRowsLastCharacterAndStays) {
  view.OnWordWrap();
  for (const char* character : {"あ", "漢", "ｱ", "😀"}) {
    std::string line;
    for (int i = 0; i < 120; ++i) line += character;
    Show("");
    control().ReplaceSelection(QString::fromUtf8(line + "\r\nnext"));
    Settle();
    CaretJumps jumps(control());
    ASSERT_GT(jumps.DisplayRowCount(), 3) << character;
    long secondRow = jumps.DisplayRowStart(1), thirdRow = jumps.DisplayRowStart(2);
    long lastOfRow = control().SendScintilla(QsciScintillaBase::SCI_POSITIONBEFORE, thirdRow);
    Caret(secondRow);
    EXPECT_EQ(CaretAfter(ids::kLineEnd), lastOfRow) << character;
    EXPECT_EQ(CaretAfter(ids::kLineEnd), lastOfRow) << character << " pressed again";
    EXPECT_EQ(jumps.DisplayRowOf(lastOfRow), 1) << character;
  }
}

struct GoToCase {
  const char* entry;
  int line;  // 0-based; -1 when the caret must not move
};

TEST_F(CaretJumpsTest, GoToLineReadsTheFirstEightCharactersAsAtoiDoes) {
  std::string text;
  for (int i = 1; i <= 20; ++i) text += "line" + std::to_string(i) + "\r\n";
  text += "last";
  const GoToCase cases[] = {
      {"3", 2},   {" 12a", 11}, {"99", 20}, {"-3", 20},   {"+4", 3},
      {"0", -1},  {"abc", -1},  {"", -1},   {"- 5", -1},  {"000000012", 0},
  };
  Show(text);
  for (const GoToCase& c : cases) {
    long before = control().LineStart(6) + 2;
    Caret(before);
    long after = CaretAfterGoTo(QString::fromUtf8(c.entry));
    EXPECT_EQ(after, c.line < 0 ? before : control().LineStart(c.line)) << '"' << c.entry << '"';
  }
}

TEST_F(CaretJumpsTest, GoToLineCancelledDoesNothing) {
  Show("a\r\nb\r\nc");
  Caret(1);
  platform::SetDialogHandler([](QDialog& dialog) {
    QTest::keyClicks(dynamic_cast<CGotoLineDlg&>(dialog).LineEdit(), QStringLiteral("2"));
    dynamic_cast<CGotoLineDlg&>(dialog).CancelButton()->click();
    return dialog.result();
  });
  view.OnCommand(ids::kGoToLine);
  EXPECT_EQ(control().CaretPosition(), 1);
}

TEST_F(CaretJumpsTest, GoToLineIsDisabledWhileTheTextIsEmpty) {
  Show("");
  CommandUpdate update;
  ASSERT_TRUE(view.OnUpdateCommand(ids::kGoToLine, update));
  EXPECT_FALSE(update.enabled);
  Show("x");
  ASSERT_TRUE(view.OnUpdateCommand(ids::kGoToLine, update));
  EXPECT_TRUE(update.enabled);
}

TEST(GotoLineDialog, HasItsTextsAndTakesOnlyWhatFitsItsWidth) {
  CGotoLineDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("行指定ジャンプ"));
  EXPECT_EQ(dialog.OkButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("×"));
  EXPECT_EQ(dialog.findChild<QLabel*>()->text(), QStringLiteral("←行数（半角数字）"));
  EXPECT_TRUE(dialog.m_lineText.isEmpty());
  dialog.show();
  QTest::keyClicks(dialog.LineEdit(), QStringLiteral("123456789"));
  EXPECT_EQ(dialog.m_lineText, QStringLiteral("123456789")) << "nine digits fit";
  QTest::keyClicks(dialog.LineEdit(), QString(40, u'9'));
  EXPECT_LT(dialog.m_lineText.size(), 20);
  EXPECT_EQ(dialog.m_lineText, dialog.LineEdit()->text());
}

TEST(LineNumberFromEntry, ReadsLikeAtoi) {
  EXPECT_EQ(CaretJumps::LineNumberFromEntry(QStringLiteral("\t 7x")), 7);
  EXPECT_EQ(CaretJumps::LineNumberFromEntry(QStringLiteral("-0012")), -12);
  EXPECT_EQ(CaretJumps::LineNumberFromEntry(QStringLiteral("１２")), 0) << "full-width digits are no digits";
  EXPECT_EQ(CaretJumps::LineNumberFromEntry(QStringLiteral("9999999999")), 99999999);
}

}  // namespace
