// Compositions of an input method in the editing control, driven by the
// events an input method sends: preedits with segment formats, commits and
// cancels.

#include "InputComposition.h"

#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QTextCharFormat>

#include "EditorControl.h"

namespace {

using Sci = QsciScintillaBase;

enum class Look { Active, Plain, Dotted };

struct Segment {
  int start, length;
  Look look;
};

QTextCharFormat FormatOf(Look look) {
  QTextCharFormat format;
  switch (look) {
    case Look::Active:
      format.setBackground(Qt::darkBlue);
      format.setForeground(Qt::white);
      break;
    case Look::Plain: format.setUnderlineStyle(QTextCharFormat::SingleUnderline); break;
    case Look::Dotted: format.setUnderlineStyle(QTextCharFormat::DotLine); break;
  }
  return format;
}

void Preedit(EditorControl& control, const QString& text, const std::vector<Segment>& segments = {},
             int cursor = -1) {
  QList<QInputMethodEvent::Attribute> attributes;
  for (const Segment& segment : segments)
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, segment.start, segment.length,
                                               FormatOf(segment.look));
  attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, cursor < 0 ? text.size() : cursor, 1);
  QInputMethodEvent event(text, attributes);
  QCoreApplication::sendEvent(&control, &event);
}

void Commit(EditorControl& control, const QString& text, const QString& nextPreedit = QString()) {
  QInputMethodEvent event(nextPreedit, {});
  event.setCommitString(text);
  QCoreApplication::sendEvent(&control, &event);
}

void Cancel(QObject& control) {
  QInputMethodEvent event;
  QCoreApplication::sendEvent(&control, &event);
}

void CommitTo(QObject& receiver, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QCoreApplication::sendEvent(&receiver, &event);
}

// Stands in for another application that takes its input through the same
// input method getting the keyboard: the window system already has the
// focus elsewhere when the input method clears the preedit (the real path:
// tests/e2e/test_input_method.py).
class ControlWhoseWindowLostTheKeyboard : public EditorControl {
 protected:
  bool KeyboardLeftWindow() const override { return true; }
};

std::string Sjis(const char* utf8) { return kanji::ShiftJisCodec::Encode(utf8).bytes; }

const std::string kNihongo = "\x82\xc9\x82\xd9\x82\xf1\x82\xb2";  // にほんご

class Composition : public testing::Test {
 protected:
  void Show(const std::string& text, long caret) {
    control.SetShiftJisText(text);
    control.SetSelection(caret, caret);
  }
  bool Marked(int indicator, long position) {
    return control.SendScintilla(Sci::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator), position) != 0;
  }
  EditorControl control;
};

TEST_F(Composition, ThePreeditIsShownButIsNoPartOfTheText) {
  Show("abc", 3);
  Preedit(control, QStringLiteral("にほんご"));
  EXPECT_EQ(control.Utf8Text(), "abcにほんご");  // on screen
  EXPECT_TRUE(control.IsComposing());
  EXPECT_EQ(control.ShiftJisText(), "abc");
  EXPECT_EQ(control.ShiftJisLength(), 3u);
  EXPECT_FALSE(control.IsModified());
  EXPECT_FALSE(control.isUndoAvailable());
  Cancel(control);
  EXPECT_EQ(control.Utf8Text(), "abc");
  EXPECT_FALSE(control.IsComposing());
  EXPECT_FALSE(control.IsModified());
  EXPECT_FALSE(control.isUndoAvailable());
  EXPECT_EQ(control.CaretPosition(), 3);
}

TEST_F(Composition, ThePreeditInTheMiddleOfTheTextIsLeftOutOfItsBytes) {
  Show("ab\x82\xa0" "cd", 2);
  Preedit(control, QStringLiteral("日本"));
  EXPECT_EQ(control.ShiftJisText(), "ab\x82\xa0" "cd");
  EXPECT_EQ(control.ShiftJisLength(), 6u);
}

TEST_F(Composition, TheByteCountStaysRightWhenAPreeditFollowsAnEdit) {
  Show("abc", 3);
  Commit(control, QStringLiteral("あ"));
  Preedit(control, QStringLiteral("い"));  // comes before the commit was measured
  EXPECT_EQ(control.ShiftJisLength(), 5u);
  Commit(control, QStringLiteral("い"));
  EXPECT_EQ(control.ShiftJisLength(), 7u);
  EXPECT_EQ(control.ShiftJisText(), "abc" + Sjis("あい"));
}

TEST_F(Composition, ACommitIsOneUndoStepOfItsOwn) {
  Show("abc", 3);
  Preedit(control, QStringLiteral("にほんご"));
  Commit(control, QStringLiteral("日本語"));
  Preedit(control, QStringLiteral("を"));
  Commit(control, QStringLiteral("を"));
  EXPECT_EQ(control.ShiftJisText(), "abc" + Sjis("日本語を"));
  EXPECT_TRUE(control.IsModified());
  control.UndoLast();
  EXPECT_EQ(control.ShiftJisText(), "abc" + Sjis("日本語"));
  control.UndoLast();
  EXPECT_EQ(control.ShiftJisText(), "abc");
  EXPECT_FALSE(control.IsModified());
}

TEST_F(Composition, ACommitWithTheNextPreeditStartsANewComposition) {
  Show("", 0);
  Preedit(control, QStringLiteral("かんじ"));
  Commit(control, QStringLiteral("漢字"), QStringLiteral("を"));
  EXPECT_EQ(control.ShiftJisText(), Sjis("漢字"));
  EXPECT_TRUE(control.IsComposing());
  EXPECT_EQ(control.Utf8Text(), "漢字を");
}

TEST_F(Composition, TheSelectionStaysUntilTheCommitReplacesItAndItsUndoSelectsItAgain) {
  for (auto [anchor, caret] : {std::pair{1L, 3L}, std::pair{3L, 1L}}) {
    Show("abcd", 0);
    control.SetSelection(anchor, caret);
    Preedit(control, QStringLiteral("に"));
    EXPECT_EQ(control.ShiftJisText(), "abcd");
    EXPECT_TRUE(Marked(InputComposition::kKeptSelectionIndicator, 1));
    EXPECT_TRUE(Marked(InputComposition::kKeptSelectionIndicator, 2));
    EXPECT_FALSE(Marked(InputComposition::kKeptSelectionIndicator, 3));
    Commit(control, QStringLiteral("日"));
    EXPECT_EQ(control.ShiftJisText(), Sjis("a日d"));
    EXPECT_FALSE(Marked(InputComposition::kKeptSelectionIndicator, 1));
    control.UndoLast();
    EXPECT_EQ(control.ShiftJisText(), "abcd");
    EXPECT_EQ(control.SendScintilla(Sci::SCI_GETANCHOR), anchor);
    EXPECT_EQ(control.CaretPosition(), caret);
    EXPECT_FALSE(control.IsModified());
  }
}

TEST_F(Composition, ACancelledCompositionLeavesTheSelectionAsItWas) {
  Show("abcd", 0);
  control.SetSelection(3, 1);
  Preedit(control, QStringLiteral("に"));
  Cancel(control);
  EXPECT_EQ(control.ShiftJisText(), "abcd");
  EXPECT_EQ(control.SendScintilla(Sci::SCI_GETANCHOR), 3);
  EXPECT_EQ(control.CaretPosition(), 1);
  EXPECT_FALSE(Marked(InputComposition::kKeptSelectionIndicator, 1));
}

TEST_F(Composition, InOverwriteModeOnlyTheCommitOverwritesAsManyCharactersAsItBrings) {
  struct Case {
    std::string text;
    long caret;
    const char* commit;
    std::string expected;
  };
  for (const Case& c : {Case{"abcdef", 1, "日本", "a" + Sjis("日本") + "def"},
                        Case{"ab\r\ncd", 1, "日本語", "a" + Sjis("日本語") + "\r\ncd"},  // stops at the line end
                        Case{"a\x82\xa0\x82\xa2z", 1, "x", "ax\x82\xa2z"}}) {         // whole characters
    Show(c.text, c.caret);
    control.SetOverwrite(true);
    Preedit(control, QString::fromUtf8(c.commit));
    EXPECT_EQ(control.ShiftJisText(), c.text) << "the preedit overwrote: " << c.commit;
    Commit(control, QString::fromUtf8(c.commit));
    EXPECT_EQ(control.ShiftJisText(), c.expected) << c.commit;
    control.UndoLast();
    EXPECT_EQ(control.ShiftJisText(), c.text) << c.commit;
    EXPECT_FALSE(control.IsModified()) << c.commit;
    control.SetOverwrite(false);
  }
}

TEST_F(Composition, TheActiveSegmentIsShadedAndTheOthersThinUnderlined) {
  EXPECT_EQ(control.SendScintilla(Sci::SCI_INDICGETSTYLE, InputComposition::kActiveIndicator), Sci::INDIC_STRAIGHTBOX);
  for (int indicator : {InputComposition::kInputIndicator, InputComposition::kConvertedIndicator,
                        InputComposition::kOtherIndicator})
    EXPECT_EQ(control.SendScintilla(Sci::SCI_INDICGETSTYLE, static_cast<unsigned long>(indicator)),
              Sci::INDIC_COMPOSITIONTHIN);
  Show("x", 1);
  // 日本 | ご | を: the first part active, the second converted, the last plain.
  Preedit(control, QStringLiteral("日本ごを"), {{0, 2, Look::Active}, {2, 1, Look::Dotted}, {3, 1, Look::Plain}});
  const long first = 1, second = first + 6, third = second + 3;
  EXPECT_TRUE(Marked(InputComposition::kActiveIndicator, first));
  EXPECT_TRUE(Marked(InputComposition::kActiveIndicator, first + 3));
  EXPECT_FALSE(Marked(InputComposition::kInputIndicator, first));
  EXPECT_TRUE(Marked(InputComposition::kConvertedIndicator, second));
  EXPECT_FALSE(Marked(InputComposition::kActiveIndicator, second));
  EXPECT_TRUE(Marked(InputComposition::kInputIndicator, third));
  EXPECT_FALSE(Marked(InputComposition::kActiveIndicator, 0));
  // Right moves the active part: the shading follows it.
  Preedit(control, QStringLiteral("日本ごを"), {{0, 2, Look::Plain}, {2, 2, Look::Active}});
  EXPECT_FALSE(Marked(InputComposition::kActiveIndicator, first));
  EXPECT_TRUE(Marked(InputComposition::kInputIndicator, first));
  EXPECT_TRUE(Marked(InputComposition::kActiveIndicator, second));
  EXPECT_TRUE(Marked(InputComposition::kActiveIndicator, third));
  Commit(control, QStringLiteral("日本語を"));
  for (int indicator = InputComposition::kInputIndicator; indicator <= InputComposition::kOtherIndicator; ++indicator)
    EXPECT_FALSE(Marked(indicator, first)) << indicator;
}

TEST_F(Composition, TheCaretStandsWhereTheInputMethodPutsIt) {
  Show("ab", 1);
  Preedit(control, QStringLiteral("にほん"), {}, 1);
  EXPECT_EQ(control.CaretPosition(), 1 + 3);
  Preedit(control, QStringLiteral("にほん"), {}, 99);
  EXPECT_EQ(control.CaretPosition(), 1 + 9);
}

TEST_F(Composition, TheInputMethodIsToldTheTextAroundTheCaretWithoutThePreedit) {
  Show("ab\r\ncd", 5);
  Preedit(control, QStringLiteral("にほん"));
  EXPECT_EQ(control.inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("cd"));
  EXPECT_EQ(control.inputMethodQuery(Qt::ImCursorPosition).toInt(), 1);
}

TEST_F(Composition, AMousePressCommitsTheCompositionWhereItStandsThenMovesTheCaret) {
  control.resize(400, 200);
  control.show();
  Show("abc\r\ndef", 3);
  Preedit(control, QStringLiteral("にほ"));
  long target = control.LineStart(1) + 1;
  QPoint point(static_cast<int>(control.SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, target)),
               static_cast<int>(control.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, target)) + 2);
  QTest::mouseClick(control.viewport(), Qt::LeftButton, {}, point);
  EXPECT_FALSE(control.IsComposing());
  EXPECT_EQ(control.ShiftJisText(), "abc" + Sjis("にほ") + "\r\ndef");
  EXPECT_EQ(control.CaretPosition(), target);
  control.UndoLast();
  EXPECT_EQ(control.ShiftJisText(), "abc\r\ndef");
}

TEST_F(Composition, TheFocusLeavingCommitsButAMenuOverTheTextDoesNot) {
  Show("a", 1);
  Preedit(control, QStringLiteral("に"));
  QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
  QCoreApplication::sendEvent(&control, &toMenu);
  EXPECT_TRUE(control.IsComposing());
  control.SetReadOnly(true);  // as the view makes it when the focus leaves
  QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(&control, &away);
  EXPECT_FALSE(control.IsComposing());
  EXPECT_EQ(control.ShiftJisText(), "a" + Sjis("に"));
  EXPECT_TRUE(control.IsReadOnly());
}

TEST_F(Composition, ReadOnlyTextTakesNoNewCompositionButEndsOneShown) {
  Show("a", 1);
  control.SetReadOnly(true);
  Preedit(control, QStringLiteral("に"));
  Commit(control, QStringLiteral("x"));
  EXPECT_FALSE(control.IsComposing());
  EXPECT_EQ(control.Utf8Text(), "a");
  control.SetReadOnly(false);
  Preedit(control, QStringLiteral("に"));
  control.SetReadOnly(true);
  Commit(control, QStringLiteral("二"));
  EXPECT_EQ(control.ShiftJisText(), "a" + Sjis("二"));
  EXPECT_TRUE(control.IsReadOnly());
}

TEST_F(Composition, FinishingCommitsWhatIsShownWhenNoInputMethodAnswers) {
  Show("a", 1);
  control.FinishComposition();  // nothing to finish
  EXPECT_EQ(control.ShiftJisText(), "a");
  Preedit(control, QStringLiteral("にほんご"));
  control.FinishComposition();
  EXPECT_FALSE(control.IsComposing());
  EXPECT_EQ(control.ShiftJisText(), "a" + kNihongo);
}

// ibus with Mozc answers the reset that follows a composition the editor
// finished with a commit of the same text, which arrives after the caret
// moved (a click) or in a dialog the command opened.
TEST_F(Composition, ACommitRepeatingACompositionTheEditorFinishedIsDroppedWhereverItLands) {
  QLineEdit dialogField;
  for (QObject* landing : std::initializer_list<QObject*>{&control, &dialogField}) {
    Show("abc", 3);
    Preedit(control, QStringLiteral("感じ"));
    control.FinishComposition();
    control.SetSelection(1, 1);  // the click that finished it
    Cancel(*landing);            // the input method clears its preedit, then repeats it
    CommitTo(*landing, QStringLiteral("感じ"));
    EXPECT_EQ(control.ShiftJisText(), "abc" + Sjis("感じ"));
    EXPECT_EQ(dialogField.text(), QString());
    // The same text composed anew is the user's.
    Preedit(control, QStringLiteral("感じ"));
    Commit(control, QStringLiteral("感じ"));
    EXPECT_EQ(control.ShiftJisText(), "a" + Sjis("感じ") + "bc" + Sjis("感じ"));
  }
}

TEST_F(Composition, AnotherCommitAfterAFinishedCompositionIsTheUsersAndEndsTheWatch) {
  Show("", 0);
  Preedit(control, QStringLiteral("感じ"));
  control.FinishComposition();
  CommitTo(control, QStringLiteral("、"));  // no copy came: an input method that commits without one
  CommitTo(control, QStringLiteral("感じ"));
  EXPECT_EQ(control.ShiftJisText(), Sjis("感じ、感じ"));
}

TEST_F(Composition, ThePreeditClearedAsAnotherApplicationTakesTheKeyboardIsCommittedAsShown) {
  ControlWhoseWindowLostTheKeyboard left;
  left.SetShiftJisText("a");
  left.SetSelection(1, 1);
  Preedit(left, QStringLiteral("感じ"));
  Cancel(left);
  EXPECT_FALSE(left.IsComposing());
  EXPECT_EQ(left.ShiftJisText(), "a" + Sjis("感じ"));
  left.UndoLast();
  EXPECT_EQ(left.ShiftJisText(), "a");
  // While the window keeps the keyboard, the same clearing is the user's Escape.
  Show("a", 1);
  Preedit(control, QStringLiteral("感じ"));
  Cancel(control);
  EXPECT_EQ(control.ShiftJisText(), "a");
}

TEST_F(Composition, ACancelledCompositionCommittedLaterAtFocusLossIsNotInserted) {
  Show("a", 1);
  Preedit(control, QStringLiteral("にほんご"));
  Cancel(control);
  QTest::keyClick(&control, Qt::Key_Left);  // the user goes on; the input method still holds the text
  Commit(control, QStringLiteral("にほんご"));
  EXPECT_EQ(control.ShiftJisText(), "a");
  EXPECT_FALSE(control.IsModified());
  // Other commits, and the same text composed anew, are the user's.
  Commit(control, QStringLiteral("にほんご"));
  EXPECT_EQ(control.ShiftJisText(), kNihongo + "a");
  Preedit(control, QStringLiteral("か"));
  Cancel(control);
  Commit(control, QStringLiteral("き"));
  Preedit(control, QStringLiteral("か"));
  Commit(control, QStringLiteral("か"));
  EXPECT_EQ(control.ShiftJisText(), kNihongo + Sjis("きか") + "a");
}

TEST_F(Composition, ANewDocumentEndsTheComposition) {
  Show("abc", 3);
  Preedit(control, QStringLiteral("に"));
  Show("xyz", 0);
  EXPECT_FALSE(control.IsComposing());
  EXPECT_EQ(control.ShiftJisText(), "xyz");
  Preedit(control, QStringLiteral("に"));
  Cancel(control);
  EXPECT_EQ(control.ShiftJisText(), "xyz");
}

}  // namespace
