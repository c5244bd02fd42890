// Word wrap on documents too large to wrap at once: a jump wraps the lines
// around the caret and leaves the rest to the control's idle wrap, which
// keeps the view where it is while the heights above it change; and the
// widths the wrap is measured with, taken per character where no shaping is
// needed, agree with a shaped layout; and lines laid out straight from those
// widths come out exactly as measured ones, rows, caret and selection alike.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QTextLayout>

#include <random>
#include <string>
#include <vector>

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
  WritableAsWhenFocusReturns(view);
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

// Lines the plain layout takes (one style, characters that need no shaping)
// and lines it leaves to the measured one, mixed: positions of both must be
// the very same floats, which the checked mode compares line by line.
struct PlainLayoutCase {
  const char* name;
  const char16_t* line;
  bool plain;
};

const PlainLayoutCase kPlainLayoutCases[] = {
    {"Japanese", u"日本語のテキスト、ひらがなとカタカナと漢字。", true},
    {"half-width kana", u"ｶﾀｶﾅとﾊﾝｶｸ･ｶﾅ｢ｶｷﾞ｣ﾃﾞｽ", true},
    {"full-width forms", u"（ＡＢＣ）！？＃１２３　全角", true},
    {"ASCII words", u"The quick brown fox jumps over the lazy dog, 1234567890 (x) [y] {z}", true},
    {"Latin-1 and symbols", u"café naïve – “quoted” … → ← ★ ※ ― ♪", true},
    {"a lone space", u" ", true},
    {"blanks around", u"   indented  and trailing   ", true},
    {"long Japanese", u"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で"
                      u"ニャーニャー泣いていた事だけは記憶している。吾輩はここで始めて人間というものを見た。しかもあと"
                      u"で聞くとそれは書生という人間中で一番獰悪な種族であったそうだ。この書生というのは時々我々を捕えて"
                      u"煮て食うという話である。",
     true},
    {"long words", u"Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut labore "
                   u"et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris nisi ut "
                   u"aliquip ex ea commodo consequat. Duis aute irure dolor in reprehenderit in voluptate velit esse "
                   u"cillum dolore eu fugiat nulla pariatur. 日本語も混ざる mixed ﾃｷｽﾄ here and there a b c d e f g.",
     true},
    {"a tab", u"tab\there", false},
    {"a combining mark", u"か\u309aが", false},
    {"a raw byte", u"bytes \uF781 here", false},
    {"beyond the BMP", u"emoji 😀 and 𠮷", false},
    {"Hangul", u"한국어", false},
    {"a line separator", u"before\u2028after", false},
};

class PlainLayoutTest : public BackgroundWrapTest {
 protected:
  // As a UTF-8 file, in the editor's usual Japanese face (which passes the
  // kerning probe) unless the settings name another.
  void ShowUtf8(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    view.ShowDocument(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                      {KanjiCode::Utf8, KanjiCode::Utf8});
  }
  static QString Text() {
    QString text;
    for (int copy = 0; copy < 2; ++copy)
      for (const PlainLayoutCase& c : kPlainLayoutCases) text += QString::fromUtf16(c.line) + QStringLiteral("\r\n");
    return text;
  }
  void Show(int mode) {
    Send(Sci::SCI_SETPLAINLINELAYOUT, static_cast<unsigned long>(mode));
    ShowUtf8(Text());
    FinishWrap();
  }
  long PlainLines() { return Send(Sci::SCI_GETPLAINLINELAYOUTCOUNT, 0); }
  long Mismatches() { return Send(Sci::SCI_GETPLAINLINELAYOUTCOUNT, 1); }

  // Rows of each line, and x, y of every position, as the control reports them.
  std::vector<long> Geometry() {
    std::vector<long> geometry;
    for (int line = 0; line < control().LineCount(); ++line) geometry.push_back(Send(Sci::SCI_WRAPCOUNT, line));
    for (long pos = 0; pos <= control().TextLength(); ++pos) {
      geometry.push_back(control().SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, pos));
      geometry.push_back(control().SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, pos));
    }
    return geometry;
  }
  // The position hit at points spread over the text area.
  std::vector<long> HitTests() {
    std::vector<long> hits;
    const QRect area = control().viewport()->rect();
    for (int y = 2; y < area.height(); y += 7)
      for (int x = 0; x < area.width(); x += 5)
        hits.push_back(control().SendScintilla(Sci::SCI_POSITIONFROMPOINT, static_cast<unsigned long>(x), y));
    return hits;
  }
  // The window with a selection across wrapped rows, as drawn.
  QImage SelectionShown() {
    Send(Sci::SCI_SETCARETPERIOD, 0);  // the caret shown, not blinking
    control().SetSelection(3, control().LineStart(9) + 40);
    return control().viewport()->grab().toImage();
  }
};

TEST_F(PlainLayoutTest, PlainLinesGetTheVeryPositionsOfTheMeasuredLayout) {
  for (int width : {400, 250, 123}) {
    view.resize(width, 300);
    Show(Sci::SC_PLAINLAYOUT_CHECKED);
    EXPECT_EQ(Mismatches(), 0) << "window " << width;
    int plainLines = 0;
    for (const PlainLayoutCase& c : kPlainLayoutCases) plainLines += c.plain ? 2 : 0;
    EXPECT_GE(PlainLines(), plainLines) << "window " << width << ": the plain layout took its lines";
  }
}

// Random lines of plain characters, up to 800 long (cut into pieces by the
// measured layout), blanks in runs: the same positions, bit for bit.
TEST_F(PlainLayoutTest, RandomPlainLinesGetTheVeryPositionsOfTheMeasuredLayout) {
  const QString pool = QStringLiteral(u"あいうアイウ日本語漢字ｱｲｳﾞ｡ＡＢ１（）、。・ー―…abcXYZ019.,;:!?()[]é×“” ");
  std::mt19937 random(7);
  QString text;
  for (int line = 0; line < 300; ++line) {
    const int length = static_cast<int>(random() % (line % 10 == 0 ? 800 : 120));
    for (int i = 0; i < length; ++i) {
      const bool blanks = random() % 12 == 0;
      text += blanks ? QString(static_cast<int>(1 + random() % 3), u' ') : QString(pool[random() % pool.size()]);
    }
    text += QStringLiteral("\r\n");
  }
  settings.profile.WriteProfileInt("Font", "Size", 230);  // 11.5 points: other advances
  for (int width : {640, 301}) {
    view.resize(width, 300);
    Send(Sci::SCI_SETPLAINLINELAYOUT, Sci::SC_PLAINLAYOUT_CHECKED);
    ShowUtf8(text);
    FinishWrap();
    EXPECT_EQ(Mismatches(), 0) << "window " << width;
    EXPECT_GE(PlainLines(), 300) << "window " << width;
  }
}

TEST_F(PlainLayoutTest, EachLineTakesThePlainLayoutOnlyIfItIsPlain) {
  view.OnWordWrap();  // off: lines are laid out as they are drawn or asked for
  for (const PlainLayoutCase& c : kPlainLayoutCases) {
    Send(Sci::SCI_SETPLAINLINELAYOUT, Sci::SC_PLAINLAYOUT_ON);
    ShowUtf8(QString::fromUtf16(c.line));
    control().SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, control().TextLength());
    EXPECT_EQ(PlainLines() > 0, c.plain) << c.name;
  }
}

// A face that kerns (the default sans serif) is measured, never summed.
TEST_F(PlainLayoutTest, AFontThatKernsTakesNoPlainLayout) {
  settings.profile.WriteProfileString("Font", "Name", "DejaVu Sans");
  Show(Sci::SC_PLAINLAYOUT_ON);
  EXPECT_EQ(PlainLines(), 0);
}

TEST_F(PlainLayoutTest, RowsCaretHitsAndSelectionAreTheSameWithThePlainLayoutOnAndOff) {
  for (int width : {400, 177}) {
    view.resize(width, 300);
    Show(Sci::SC_PLAINLAYOUT_OFF);
    ASSERT_EQ(PlainLines(), 0);
    const std::vector<long> geometry = Geometry();
    const std::vector<long> hits = HitTests();
    const QImage shown = SelectionShown();

    Show(Sci::SC_PLAINLAYOUT_ON);
    ASSERT_GT(PlainLines(), 0);
    EXPECT_EQ(Geometry(), geometry) << "window " << width;
    EXPECT_EQ(HitTests(), hits) << "window " << width;
    EXPECT_TRUE(SelectionShown() == shown) << "window " << width;
  }
}

// Typing into a wrapped plain line lays it out again: the rows follow.
TEST_F(PlainLayoutTest, TypingIntoAPlainLineWrapsItAsTheMeasuredLayoutDoes) {
  std::vector<long> rows[2];
  for (int mode : {Sci::SC_PLAINLAYOUT_OFF, Sci::SC_PLAINLAYOUT_CHECKED}) {
    Send(Sci::SCI_SETPLAINLINELAYOUT, static_cast<unsigned long>(mode));
    ShowUtf8(QStringLiteral(u"日本語"));
    WritableAsWhenFocusReturns(view);
    control().SetSelection(control().TextLength(), control().TextLength());
    for (int i = 0; i < 90; ++i) {
      control().ReplaceSelection(i % 3 ? QStringLiteral(u"あ") : QStringLiteral(u"ｱ "));
      Send(Sci::SCI_WRAPLINESBEFORE, 1);
      rows[mode != Sci::SC_PLAINLAYOUT_OFF].push_back(Send(Sci::SCI_WRAPCOUNT, 0));
    }
  }
  EXPECT_EQ(rows[1], rows[0]);
  EXPECT_GT(rows[1].back(), 2);
  EXPECT_EQ(Mismatches(), 0);
}

}  // namespace

// The wrap counts the rows of plain lines ahead on a second thread: each
// line gets the rows a wrap on one thread gives it, whether plain or not,
// and whether its characters were known when the count began or met later.
TEST_F(PlainLayoutTest, RowsCountedOnASecondThreadAreThoseOfAWrapOnOne) {
  const QString pool = QStringLiteral(u"あいうアイウ日本語漢字ｱｲｳﾞ｡ＡＢ１（）、。・ー―…abcXYZ019.,;:!?()[] ");
  std::mt19937 random(11);
  QString text;
  for (int line = 0; line < 3000; ++line) {
    const int length = static_cast<int>(random() % 160);
    for (int i = 0; i < length; ++i) text += pool[random() % pool.size()];
    if (line % 97 == 0) text += QStringLiteral(u"\tか\u309a 😀");  // laid out in full
    if (line > 2000 && line % 5 == 0) text += QStringLiteral(u"鬱龍驫");  // met late
    text += QStringLiteral("\r\n");
  }
  for (int width : {400, 177}) {
    view.resize(width, 300);
    // In the idle wrap's slices, and in one go as a jump far ahead wraps
    // the lines before it (how many lines a slice takes depends on the
    // machine's speed; one go always counts ahead).
    for (bool inOneGo : {false, true}) {
      std::vector<long> rows[2];
      for (bool twoThreads : {false, true}) {
        Send(Sci::SCI_SETWRAPONTWOTHREADS, twoThreads ? 1 : 0);
        ShowUtf8(text);
        if (inOneGo) Send(Sci::SCI_WRAPLINESBEFORE, static_cast<unsigned long>(control().LineCount()));
        FinishWrap();
        // The heights the wrap stored (SCI_WRAPCOUNT would lay the line out again).
        for (int line = 0; line <= control().LineCount(); ++line)
          rows[twoThreads].push_back(Send(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(line)));
      }
      EXPECT_EQ(rows[1], rows[0]) << "window " << width << (inOneGo ? ", in one go" : ", in slices");
      if (inOneGo) {
        EXPECT_GT(Send(Sci::SCI_GETPLAINLINELAYOUTCOUNT, 2), 1000) << "window " << width;
      }
    }
  }
}
