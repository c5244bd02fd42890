// Word wrap on documents too large to wrap at once: a jump wraps the lines
// around the caret and leaves the rest to the control's idle wrap, which
// keeps the view where it is while the heights above it change; and the
// widths the wrap is measured with, taken per character where no shaping is
// needed, agree with a shaped layout.

#include <gtest/gtest.h>

#include <QTest>
#include <QTextLayout>

#include <string>

#include "CKb_zeva3View.h"
#include "CaretJumps.h"
#include "GuiTestSupport.h"

namespace {

using Sci = QsciScintillaBase;

// Shift-JIS lines of 9 to 81 characters (日本語のテキスト、 repeated),
// CR LF: in a 400-pixel window many take two rows or more.
std::string JapaneseLines(int lines) {
  const std::string phrase = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\x81\x41";
  std::string text;
  for (int i = 0; i < lines; ++i) {
    for (int r = 0; r <= i % 9; ++r) text += phrase;
    text += "\r\n";
  }
  return text + "\x8d\xc5\x8c\xe3";  // 最後
}

class BackgroundWrapTest : public testing::Test {
 protected:
  void SetUp() override {
    view.resize(400, 300);
    view.show();
  }
  EditorControl& control() { return view.Control(); }
  long Send(unsigned int message, unsigned long wParam = 0) { return control().SendScintilla(message, wParam); }
  bool WrapPending() { return Send(Sci::SCI_GETWRAPPENDING) >= 0; }
  void FinishWrap() {
    for (int i = 0; i < 100000 && WrapPending(); ++i) QTest::qWait(1);
    ASSERT_FALSE(WrapPending()) << "the idle wrap keeps going until every line is wrapped";
  }
  int DisplayRows() { return CaretJumps(control()).DisplayRowCount(); }
  long CaretRow() {
    long caret = control().CaretPosition();
    long line = control().LineFromPosition(caret);
    long row = Send(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(line));
    long lineTop = control().SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, control().LineStart(line));
    long caretTop = control().SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, caret);
    return row + (caretTop - lineTop) / Send(Sci::SCI_TEXTHEIGHT, 0);
  }
  void ExpectCaretShown(const char* when) {
    long top = Send(Sci::SCI_GETFIRSTVISIBLELINE);
    long row = CaretRow();
    EXPECT_GE(row, top) << when;
    EXPECT_LT(row, top + Send(Sci::SCI_LINESONSCREEN)) << when;
  }
  void ExpectOnLastLine(const char* when) {
    EXPECT_EQ(control().LineFromPosition(control().CaretPosition()), control().LineCount() - 1) << when;
  }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
};

TEST_F(BackgroundWrapTest, CtrlEndRightAfterOpeningWrapsOnlyAroundTheEndAndTheCaretStaysShown) {
  view.ShowDocument(JapaneseLines(20000), {});
  QTest::keyClick(&control(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(control().CaretPosition(), control().TextLength());
  EXPECT_TRUE(WrapPending()) << "the lines before the end are left to the idle wrap";
  ExpectCaretShown("right after Ctrl+End");
  FinishWrap();
  ExpectOnLastLine("after the idle wrap");
  ExpectCaretShown("after the idle wrap: the view kept its place");
}

TEST_F(BackgroundWrapTest, TheIdleWrapEndsWithTheRowsOfAWrapInOrder) {
  const std::string text = JapaneseLines(6000);
  view.ShowDocument(text, {});
  FinishWrap();
  const int inOrder = DisplayRows();
  ASSERT_GT(inOrder, 6001) << "some lines take more than one row";

  view.ShowDocument(text, {});
  QTest::keyClick(&control(), Qt::Key_End, Qt::ControlModifier);
  control().SetSelection(control().LineStart(3000), control().LineStart(3000));
  QTest::keyClick(&control(), Qt::Key_PageDown);
  FinishWrap();
  EXPECT_EQ(DisplayRows(), inOrder) << "jumps ahead of the idle wrap change no row count";
}

TEST_F(BackgroundWrapTest, GoToThelastLineAndPageDownAheadOfTheIdleWrapShowTheCaret) {
  view.ShowDocument(JapaneseLines(20000), {});
  CaretJumps(control()).ToLine(1 << 30);
  ExpectOnLastLine("go-to-line past the end");
  ExpectCaretShown("go-to-line past the end");

  view.ShowDocument(JapaneseLines(20000), {});
  long middle = control().LineStart(10000);
  control().SetSelection(middle, middle);
  ExpectCaretShown("a jump to the middle");
  QTest::keyClick(&control(), Qt::Key_PageDown);
  EXPECT_GT(control().LineFromPosition(control().CaretPosition()), 10000);
  ExpectCaretShown("PageDown in the middle");
  FinishWrap();
  ExpectCaretShown("PageDown in the middle, after the idle wrap");
}

TEST_F(BackgroundWrapTest, GoToARowAheadOfTheIdleWrapLandsWhereItDoesAfterIt) {
  const std::string text = JapaneseLines(6000);
  view.ShowDocument(text, {});
  FinishWrap();
  CaretJumps(control()).ToLine(7000);
  const long afterWrap = control().CaretPosition();
  ASSERT_LT(control().LineFromPosition(afterWrap), 6000) << "row 7000 is before the last line";

  view.ShowDocument(text, {});
  ASSERT_TRUE(WrapPending());
  CaretJumps(control()).ToLine(7000);
  EXPECT_EQ(control().CaretPosition(), afterWrap);
  ExpectCaretShown("go-to-line ahead of the idle wrap");
}

TEST_F(BackgroundWrapTest, TypingAtTheEndAheadOfTheIdleWrapKeepsTheCaretShown) {
  view.ShowDocument(JapaneseLines(20000), {});
  view.MakeWritable();
  QTest::keyClick(&control(), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(&control(), "abc");
  EXPECT_EQ(std::string(control().Utf8Text().substr(control().Utf8Text().size() - 9)), "\xe6\x9c\x80\xe5\xbe\x8c" "abc");
  ExpectOnLastLine("typing at the end");
  ExpectCaretShown("typing at the end");
}

// The control's x of each character of a one-line text against QTextLayout's
// for the same font: Japanese, Latin and digits are measured per character,
// a combining mark and Hangul are shaped.
TEST_F(BackgroundWrapTest, CharacterWidthsAgreeWithAShapedLayout) {
  const QString samples[] = {
      QStringLiteral(u"日本語のテキスト、ｶﾀｶﾅとＡＢＣ abc 123 (x) ―…"),
      QStringLiteral(u"か\u309aが ga\u0301 한국어 abc"),
  };
  view.OnWordWrap();  // off: one row each
  for (const QString& sample : samples) {
    control().setText(sample);
    const QByteArray utf8 = sample.toUtf8();
    QFont font(control().DefaultFormat().face);
    font.setPointSizeF(control().DefaultFormat().twips / 20.0);
    QTextLayout layout(sample, font, control().viewport());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    const long origin = control().SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, 0L);
    int position = 0;
    for (int i = 0; i <= sample.size(); ++i) {
      if (i < sample.size() && sample[i].isLowSurrogate()) continue;
      const long x = control().SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, static_cast<long>(position)) - origin;
      EXPECT_NEAR(static_cast<double>(x), line.cursorToX(i), 1.0)
          << sample.left(i).toStdString() << " | " << sample.toStdString();
      if (i < sample.size()) position += QString(sample[i]).toUtf8().size();
    }
  }
}

}  // namespace
