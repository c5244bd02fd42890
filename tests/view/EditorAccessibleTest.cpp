// The editing area as a screen reader reads it through Qt's accessibility
// interfaces: the text as drawn (a marker read as its text), the caret, the
// selection, and the events that tell of typing and caret moves. Events are
// caught by a stand-in for Qt's bridge to the accessibility bus
// (EditorAccessible::SetListener); the real path, AT-SPI, is
// tests/e2e/test_accessibility.py.

#include "EditorAccessible.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QInputMethodEvent>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

#include "EditorControl.h"
#include "NoticeBar.h"
#include "ShiftJisCodec.h"

namespace {

using Sci = QsciScintillaBase;

std::string Sjis(const QString& text) { return kanji::ShiftJisCodec::Encode(text.toStdString()).bytes; }

// Types `text` as an input method does: a preedit, then its commit.
void TypeJapanese(EditorControl& control, const QString& text) {
  QInputMethodEvent preedit(text, {});
  QCoreApplication::sendEvent(&control, &preedit);
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QCoreApplication::sendEvent(&control, &commit);
}

struct Piece {
  QString text;
  int start = -1, end = -1;
  bool operator==(const Piece&) const = default;
};

void PrintTo(const Piece& piece, std::ostream* out) {
  *out << '"' << piece.text.toStdString() << "\" " << piece.start << ".." << piece.end;
}

struct Heard {
  QAccessible::Event type;
  int position;
  QString text;  // inserted or removed; for a selection, its end
  bool operator==(const Heard&) const = default;
};

void PrintTo(const Heard& heard, std::ostream* out) {
  *out << std::hex << heard.type << std::dec << " at " << heard.position << " \"" << heard.text.toStdString() << '"';
}

class EditorAccessibleTest : public testing::Test {
 protected:
  void SetUp() override {
    control.resize(600, 400);
    control.show();
  }
  void TearDown() override { EditorAccessible::SetListener({}); }

  QAccessibleInterface& Accessible() { return *QAccessible::queryAccessibleInterface(&control); }
  QAccessibleTextInterface& Text() { return *Accessible().textInterface(); }
  Piece At(int offset, QAccessible::TextBoundaryType boundary) {
    Piece piece;
    piece.text = Text().textAtOffset(offset, boundary, &piece.start, &piece.end);
    return piece;
  }
  // What the control draws for a character it shows as a box.
  QString Drawn(char32_t character) {
    QByteArray utf8 = QString::fromUcs4(&character, 1).toUtf8();
    QByteArray shown(64, '\0');
    control.SendScintilla(Sci::SCI_GETREPRESENTATION, reinterpret_cast<uintptr_t>(utf8.constData()),
                          static_cast<void*>(shown.data()));
    return QString::fromUtf8(shown.constData());
  }
  // The control draws and tells of the caret.
  void Settle() {
    control.viewport()->repaint();
    QCoreApplication::processEvents();
  }
  // Stands in for Qt's bridge, which takes the events while a reader listens.
  void ListenAsTheBridge() {
    Text();
    heard.clear();
    EditorAccessible::SetListener([this](QAccessibleEvent& event) {
      Heard one{event.type(), -1, QString()};
      if (event.type() == QAccessible::TextInserted) {
        auto& inserted = static_cast<QAccessibleTextInsertEvent&>(event);
        one = {event.type(), inserted.changePosition(), inserted.textInserted()};
      } else if (event.type() == QAccessible::TextRemoved) {
        auto& removed = static_cast<QAccessibleTextRemoveEvent&>(event);
        one = {event.type(), removed.changePosition(), removed.textRemoved()};
      } else if (event.type() == QAccessible::TextCaretMoved) {
        one.position = static_cast<QAccessibleTextCursorEvent&>(event).cursorPosition();
      } else if (event.type() == QAccessible::TextSelectionChanged) {
        auto& selection = static_cast<QAccessibleTextSelectionEvent&>(event);
        one = {event.type(), selection.selectionStart(), QString::number(selection.selectionEnd())};
      }
      heard.push_back(one);
    });
  }
  std::vector<Heard> HeardOf(QAccessible::Event type) const {
    std::vector<Heard> some;
    for (const Heard& one : heard)
      if (one.type == type) some.push_back(one);
    return some;
  }

  EditorControl control;
  std::vector<Heard> heard;
};

TEST_F(EditorAccessibleTest, IsAnEditableTextAreaNamedAsTheBodyAndNeverReadOnlyToTheReader) {
  control.SetReadOnly(true);  // as while another window has the focus
  EXPECT_EQ(Accessible().role(), QAccessible::EditableText);
  EXPECT_EQ(Accessible().text(QAccessible::Name), QStringLiteral("本文"));
  QAccessible::State state = Accessible().state();
  EXPECT_TRUE(state.editable);
  EXPECT_TRUE(state.multiLine);
  EXPECT_FALSE(state.readOnly);
  EXPECT_NE(Accessible().editableTextInterface(), nullptr);
}

// Each document in turn in one control: a new document is read afresh.
TEST_F(EditorAccessibleTest, ReadsTheTextAsDrawnByCharacterLineAndParagraph) {
  struct Probe {
    int offset;
    QAccessible::TextBoundaryType boundary;
    Piece expected;
  };
  struct Case {
    const char* name;
    std::string sjis;       // the file as Shift-JIS...
    std::string utf8File;   // ...or as UTF-8
    QString expected;
    std::vector<Probe> probes;
  };
  using B = QAccessible::TextBoundaryType;
  const QString byte80 = Drawn(kanji::ShiftJisCodec::kRawByteBase + 0x80);
  const QString nul = Drawn(0);
  const int m = static_cast<int>(byte80.size());
  ASSERT_GT(m, 1);  // drawn as a name, not as the private-use character
  const std::vector<Case> cases = {
      {"Japanese, CR LF",
       Sjis(QStringLiteral("日本語\r\nかな\r\n")),
       {},
       QStringLiteral("日本語\r\nかな\r\n"),
       {{0, B::CharBoundary, {QStringLiteral("日"), 0, 1}},
        {4, B::LineBoundary, {QStringLiteral("日本語\r\n"), 0, 5}},
        {5, B::LineBoundary, {QStringLiteral("かな\r\n"), 5, 9}},
        {9, B::LineBoundary, {QString(), 9, 9}},
        {9, B::CharBoundary, {QString(), 9, 9}}}},
      {"CR and LF",
       "a\rb\nc",
       {},
       QStringLiteral("a\rb\nc"),
       {{2, B::ParagraphBoundary, {QStringLiteral("b\n"), 2, 4}}, {5, B::LineBoundary, {QStringLiteral("c"), 4, 5}}}},
      {"half-width katakana", "\xB1\xB2\xB3", {}, QStringLiteral("ｱｲｳ"), {{1, B::CharBoundary, {QStringLiteral("ｲ"), 1, 2}}}},
      {"a raw byte",
       "a\x80" "b",
       {},
       QStringLiteral("a") + byte80 + QStringLiteral("b"),
       {{1, B::CharBoundary, {byte80, 1, 1 + m}},
        {2, B::CharBoundary, {byte80, 1, 1 + m}},  // inside the marker's text
        {1 + m, B::CharBoundary, {QStringLiteral("b"), 1 + m, 2 + m}}}},
      {"a held pair, drawn as its character", "\x87\x90", {}, QStringLiteral("≒"), {{0, B::CharBoundary, {QStringLiteral("≒"), 0, 1}}}},
      {"NUL", std::string("a\0b", 3), {}, QStringLiteral("a") + nul + QStringLiteral("b"), {}},
      {"beyond the BMP, from a UTF-8 file",
       {},
       "a\xF0\x9F\x98\x80" "b",
       QStringLiteral("a\U0001F600b"),
       {{1, B::CharBoundary, {QStringLiteral("\U0001F600"), 1, 3}}}},
  };
  for (const Case& c : cases) {
    if (c.utf8File.empty()) control.SetShiftJisText(c.sjis);
    else control.SetUtf8FileText(c.utf8File);
    EXPECT_EQ(Text().characterCount(), c.expected.size()) << c.name;
    EXPECT_EQ(Text().text(0, Text().characterCount()), c.expected) << c.name;
    EXPECT_EQ(Text().text(1, 2), c.expected.mid(1, 1)) << c.name;  // cuts a marker's text too
    for (const Probe& probe : c.probes)
      EXPECT_EQ(At(probe.offset, probe.boundary), probe.expected) << c.name << " at " << probe.offset;
  }
}

TEST_F(EditorAccessibleTest, BeforeAndAfterStepToTheNeighbouringPiece) {
  control.SetShiftJisText(Sjis(QStringLiteral("一行目\r\n二行目\r\n三")));
  Piece before, after;
  before.text = Text().textBeforeOffset(6, QAccessible::LineBoundary, &before.start, &before.end);
  after.text = Text().textAfterOffset(6, QAccessible::LineBoundary, &after.start, &after.end);
  EXPECT_EQ(before, (Piece{QStringLiteral("一行目\r\n"), 0, 5}));
  EXPECT_EQ(after, (Piece{QStringLiteral("三"), 10, 11}));
  before.text = Text().textBeforeOffset(0, QAccessible::CharBoundary, &before.start, &before.end);
  EXPECT_EQ(before, (Piece{QString(), -1, -1}));
}

TEST_F(EditorAccessibleTest, WordsAreWholeJapaneseWordsThatTileTheLine) {
  const QString line = QStringLiteral("東京都に住む人は多い。");
  control.SetShiftJisText(Sjis(line));
  Piece word = At(1, QAccessible::WordBoundary);
  EXPECT_EQ(word.start, 0);
  EXPECT_GT(word.end, 1);  // not one kanji alone
  QString joined;
  for (int offset = 0; offset < line.size();) {
    Piece piece = At(offset, QAccessible::WordBoundary);
    ASSERT_EQ(piece.start, offset);
    ASSERT_GT(piece.end, offset);
    joined += piece.text;
    offset = piece.end;
  }
  EXPECT_EQ(joined, line);
}

TEST_F(EditorAccessibleTest, ALineIsADisplayRowWhenWrappingAndAParagraphTheWholeLine) {
  const QString longLine(60, u'あ');
  control.SetWrapping(true);
  control.resize(200, 400);
  control.SetShiftJisText(Sjis(longLine + QStringLiteral("\r\nい")));
  Settle();
  Piece row = At(0, QAccessible::LineBoundary);
  EXPECT_EQ(row.start, 0);
  EXPECT_GT(row.end, 1);
  EXPECT_LT(row.end, 60);
  EXPECT_EQ(row.text, longLine.left(row.end));
  EXPECT_EQ(At(row.end, QAccessible::LineBoundary).start, row.end);
  EXPECT_EQ(At(59, QAccessible::LineBoundary).end, 62);  // the last row takes the line end
  EXPECT_EQ(At(62, QAccessible::LineBoundary), (Piece{QStringLiteral("い"), 62, 63}));  // a line on one row
  EXPECT_EQ(At(5, QAccessible::ParagraphBoundary), (Piece{longLine + QStringLiteral("\r\n"), 0, 62}));
  // Typing into the long line wraps it anew: its rows are read as they now stand.
  control.SetReadOnly(false);
  control.SetSelection(0, 0);
  control.ReplaceSelection(QString(10, u'う'));
  Settle();
  Piece first = At(0, QAccessible::LineBoundary);
  EXPECT_EQ(first.text, (QString(10, u'う') + longLine).left(first.end));
  EXPECT_EQ(At(first.end, QAccessible::LineBoundary).start, first.end);
}

TEST_F(EditorAccessibleTest, FollowsTheCaretAndTheSelectionBothWays) {
  control.SetShiftJisText(Sjis(QStringLiteral("あいうえお")));  // three bytes a character in the control
  control.SetSelection(3, 12);
  EXPECT_EQ(Text().cursorPosition(), 4);
  EXPECT_EQ(Text().selectionCount(), 1);
  int start = -1, end = -1;
  Text().selection(0, &start, &end);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 4);
  Text().setSelection(0, 2, 3);
  EXPECT_EQ(control.SelectionStart(), 6);
  EXPECT_EQ(control.SelectionEnd(), 9);
  Text().setCursorPosition(5);
  EXPECT_EQ(control.CaretPosition(), 15);
  EXPECT_EQ(Text().selectionCount(), 0);
}

// A document of some megabytes with a raw byte near its start: the offsets
// after it count the marker's text. At each place the view shows, Japanese
// typed there is told and read back.
TEST_F(EditorAccessibleTest, TypingJapaneseIsToldAndReadAtTheStartMiddleAndEndOfALargeDocument) {
  std::vector<QString> lines;
  std::string sjis;
  for (int i = 0; i < 60000; ++i) {
    QString line = QStringLiteral("これは%1行目の文です。\r\n").arg(i);
    lines.push_back(line);
    sjis += Sjis(line);
    if (i == 0) {
      sjis.insert(sjis.size() - 2, "\x80");
      lines.back().insert(line.size() - 2, Drawn(kanji::ShiftJisCodec::kRawByteBase + 0x80));
    }
  }
  control.SetShiftJisText(sjis);
  long offsetOfMiddle = 0;
  for (int i = 0; i < 30000; ++i) offsetOfMiddle += lines[static_cast<std::size_t>(i)].size();
  long offsetOfEnd = offsetOfMiddle;
  for (std::size_t i = 30000; i < lines.size(); ++i) offsetOfEnd += lines[i].size();
  ASSERT_EQ(Text().characterCount(), offsetOfEnd);

  struct Place {
    const char* name;
    long position;
    long offset;
    QString lineAfterTyping;
  };
  const Place places[] = {
      {"start", 0, 0, QStringLiteral("漢字") + lines[0]},
      {"middle", control.LineStart(30000), offsetOfMiddle, QStringLiteral("漢字") + lines[30000]},
      {"end", control.TextLength(), offsetOfEnd, QStringLiteral("漢字")},
  };
  for (const Place& place : places) {
    control.SetSelection(place.position, place.position);
    control.SendScintilla(Sci::SCI_SCROLLCARET);
    Settle();
    ListenAsTheBridge();
    TypeJapanese(control, QStringLiteral("漢字"));
    Settle();
    int at = static_cast<int>(place.offset);
    EXPECT_EQ(HeardOf(QAccessible::TextInserted), (std::vector<Heard>{{QAccessible::TextInserted, at, QStringLiteral("漢字")}}))
        << place.name;
    EXPECT_EQ(HeardOf(QAccessible::TextCaretMoved).back().position, at + 2) << place.name;
    EXPECT_EQ(Text().cursorPosition(), at + 2) << place.name;
    EXPECT_EQ(At(at + 1, QAccessible::CharBoundary), (Piece{QStringLiteral("字"), at + 1, at + 2})) << place.name;
    EXPECT_EQ(At(at + 2, QAccessible::LineBoundary).text, place.lineAfterTyping) << place.name;

    heard.clear();
    QTest::keyClick(&control, Qt::Key_Backspace);
    Settle();
    EXPECT_EQ(HeardOf(QAccessible::TextRemoved), (std::vector<Heard>{{QAccessible::TextRemoved, at + 1, QStringLiteral("字")}}))
        << place.name;
    EXPECT_EQ(HeardOf(QAccessible::TextCaretMoved).back().position, at + 1) << place.name;

    heard.clear();
    QTest::keyClick(&control, Qt::Key_Left, Qt::ShiftModifier);
    Settle();
    EXPECT_EQ(HeardOf(QAccessible::TextSelectionChanged),
              (std::vector<Heard>{{QAccessible::TextSelectionChanged, at, QString::number(at + 1)}}))
        << place.name;
    QTest::keyClick(&control, Qt::Key_Delete);
    Settle();
  }
  EXPECT_EQ(Text().characterCount(), offsetOfEnd);
}

TEST_F(EditorAccessibleTest, ANewDocumentIsNotToldPieceByPiece) {
  ListenAsTheBridge();
  std::string sjis;
  while (sjis.size() < (std::size_t{3} << 20)) sjis += Sjis(QStringLiteral("大きな文書の一行です。\r\n"));
  control.SetShiftJisText(sjis);
  Settle();
  EXPECT_TRUE(HeardOf(QAccessible::TextInserted).empty());
  EXPECT_TRUE(HeardOf(QAccessible::TextRemoved).empty());
  EXPECT_EQ(Text().characterCount(), QString::fromStdString(kanji::ShiftJisCodec::Decode(sjis)).size());
}

// Far into a long line the offset asked last is where the next question
// starts counting: an edit before it must be counted, one after it not.
TEST_F(EditorAccessibleTest, EditsBeforeAndAfterAPointFarIntoALongLineAreCounted) {
  const QString line = QString(20000, u'あ');
  control.SetShiftJisText(Sjis(line + line));
  long farPosition = 3 * 30000;
  EXPECT_EQ(Text().cursorPosition(), 0);
  control.SetSelection(farPosition, farPosition);
  EXPECT_EQ(Text().cursorPosition(), 30000);
  control.SetSelection(3 * 10, farPosition);  // a point before it on the line
  int start = -1, end = -1;
  Text().selection(0, &start, &end);
  EXPECT_EQ(start, 10);
  EXPECT_EQ(end, 30000);
  control.ReplaceRange(3 * 35000, 3 * 35000, "x");  // after it
  EXPECT_EQ(Text().cursorPosition(), 30000);
  control.ReplaceRange(3, 3, "xy");  // before it
  control.SetSelection(farPosition + 2, farPosition + 2);
  EXPECT_EQ(Text().cursorPosition(), 30002);
  EXPECT_EQ(At(30002, QAccessible::CharBoundary), (Piece{QStringLiteral("あ"), 30002, 30003}));
  EXPECT_EQ(Text().characterCount(), 40003);
}

TEST_F(EditorAccessibleTest, EditsThroughTheInterfaceWaitUntilTheTextIsWritable) {
  control.SetShiftJisText(Sjis(QStringLiteral("あい")));
  control.SetReadOnly(true);  // as while another window has the focus
  Accessible().editableTextInterface()->insertText(1, QStringLiteral("x"));
  EXPECT_EQ(control.ShiftJisText(), Sjis(QStringLiteral("あい")));
  control.SetReadOnly(false);
  Accessible().editableTextInterface()->insertText(1, QStringLiteral("漢"));
  Accessible().editableTextInterface()->replaceText(2, 3, QStringLiteral("う"));
  EXPECT_EQ(control.ShiftJisText(), Sjis(QStringLiteral("あ漢う")));
}

TEST(NoticeBarAccessible, IsANotificationNamedByItsText) {
  NoticeBar bar;
  bar.show();
  bar.ShowOffer(QStringLiteral("UTF-8 の文書のようです。"), QStringLiteral("UTF-8 で開き直す"), [] {});
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&bar);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::Notification);
  EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("UTF-8 の文書のようです。"));
  EXPECT_FALSE(accessible->state().invisible);
  bar.Clear();
  EXPECT_TRUE(accessible->state().invisible);
}

}  // namespace
