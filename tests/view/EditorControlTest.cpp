#include "EditorControl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>

#include <functional>
#include <set>

#include "ByteStrings.h"
#include "DocumentFile.h"
#include "GuiTestSupport.h"
#include "ShiftJisCodec.h"
#include "TempDir.h"

namespace {

std::string Fixture(const std::string& name) { return ReadFileBytes(std::string(KB_TEST_DATA_DIR) + "/" + name); }

TEST(EditorControl, EveryFixtureComesBackByteForByte) {
  EditorControl control;
  for (const char* name : {"sjis_prose.txt", "jis_prose.txt", "euc_prose.txt", "ascii.txt", "mixed_line_endings.txt",
                           "invalid_bytes.txt", "nul_bytes.txt", "empty.txt", "no_final_newline.txt",
                           "halfwidth_katakana.txt"}) {
    std::string bytes = Fixture(name);
    control.SetShiftJisText(bytes);
    std::vector<kanji::Unencodable> missing;
    EXPECT_EQ(ToHex(control.ShiftJisText(&missing)), ToHex(bytes)) << name;
    EXPECT_TRUE(missing.empty()) << name;
    EXPECT_FALSE(control.IsModified()) << name;
    EXPECT_EQ(control.ShiftJisLength(), bytes.size()) << name;
  }
}

TEST(EditorControl, TextLongerThanOneLoadPieceKeepsPairsAcrossPieceEnds) {
  EditorControl control;
  // Two-byte characters shifted by one byte, so some pair straddles the
  // one-megabyte piece boundary whichever way it falls.
  std::string bytes = "a";
  while (bytes.size() < (1u << 20) + 100) bytes += "\x82\xa0\x88\x9f";
  control.SetShiftJisText(bytes);
  // A lead byte decoded as the last byte of the text becomes a raw byte and
  // encodes back to itself, so only the decoded text shows the split pair.
  EXPECT_TRUE(control.Utf8Text() == kanji::ShiftJisCodec::Decode(bytes));
  EXPECT_EQ(control.ShiftJisText(), bytes);
}

TEST(EditorControl, LinesAreLogicalAndCrLfCountsOnce) {
  EditorControl control;
  control.SetShiftJisText(Fixture("mixed_line_endings.txt"));  // CR, LF, CR LF, LF CR
  EXPECT_EQ(control.LineCount(), 6);
  EXPECT_EQ(control.LineFromPosition(control.LineStart(2)), 2);
}

TEST(EditorControl, EnterInsertsTheFirstLinesEnding) {
  struct Case {
    std::string text, expected;
  };
  for (const Case& c : {Case{"a\nb", "\na\nb"}, Case{"a\rb", "\ra\rb"}, Case{"a\r\nb", "\r\na\r\nb"},
                        Case{"ab", "\r\nab"}}) {
    EditorControl control;
    control.SetShiftJisText(c.text);
    QTest::keyClick(&control, Qt::Key_Return);
    EXPECT_EQ(ToHex(control.ShiftJisText()), ToHex(c.expected));
    EXPECT_TRUE(control.IsModified());
  }
}

TEST(EditorControl, ReplaceSelectionIsOneUndoableStep) {
  EditorControl control;
  control.SetShiftJisText("abcdef");
  control.SetSelection(1, 4);
  control.ReplaceSelection(QStringLiteral("日本語"));
  EXPECT_EQ(control.ShiftJisText(), "a\x93\xfa\x96\x7b\x8c\xea" "ef");
  control.UndoLast();
  EXPECT_EQ(control.ShiftJisText(), "abcdef");
}

TEST(EditorControl, CharactersShiftJisLacksAreListedNotHidden) {
  EditorControl control;
  control.SetShiftJisText("x");
  control.SetSelection(1, 1);
  control.ReplaceSelection(QString::fromUtf8("é😀"));
  std::vector<kanji::Unencodable> missing;
  EXPECT_EQ(control.ShiftJisText(&missing), "x??");
  EXPECT_EQ(missing.size(), 2u);
}

TEST(EditorControl, ReadOnlyStopsTyping) {
  EditorControl control;
  control.SetShiftJisText("abc");
  control.SetReadOnly(true);
  QTest::keyClick(&control, Qt::Key_X);
  EXPECT_EQ(control.ShiftJisText(), "abc");
  control.SetReadOnly(false);
  QTest::keyClick(&control, Qt::Key_X);
  EXPECT_EQ(control.ShiftJisText(), "xabc");
}

// Regression: Ctrl+L cut the line into the clipboard, Ctrl+D duplicated it.
TEST(EditorControl, KeysNoTableListsChangeNeitherTheTextNorTheClipboard) {
  EditorControl control;
  control.SetShiftJisText("one\r\ntwo\r\n");
  QApplication::clipboard()->setText(QStringLiteral("kept"));
  const QKeyCombination keys[] = {Qt::CTRL | Qt::Key_L, Qt::CTRL | Qt::SHIFT | Qt::Key_L, Qt::CTRL | Qt::Key_D,
                                  Qt::CTRL | Qt::SHIFT | Qt::Key_T, Qt::CTRL | Qt::SHIFT | Qt::Key_U,
                                  Qt::CTRL | Qt::Key_BracketRight, Qt::ALT | Qt::SHIFT | Qt::Key_Down};
  for (QKeyCombination key : keys) {
    control.SetSelection(1, 2);
    QTest::keyClick(&control, key.key(), key.keyboardModifiers());
    EXPECT_EQ(control.ShiftJisText(), "one\r\ntwo\r\n") << QKeySequence(key).toString().toStdString();
  }
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
  QTest::keyClick(&control, Qt::Key_End, Qt::ShiftModifier);  // a text field's own keys still act
  QTest::keyClick(&control, Qt::Key_Backspace);
  EXPECT_EQ(control.ShiftJisText(), "o\r\ntwo\r\n");
}

TEST(EditorControl, InputMethodsAreAnsweredFromTheCaretsLine) {
  EditorControl control;
  control.SetShiftJisText("first\r\n\x82\xa0\x82\xa2xyz\r\nlast");
  control.SetSelection(14, 14);  // line starts at 7; after あい (3 UTF-8 bytes each) and "x"
  EXPECT_EQ(control.inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("あいxyz"));
  EXPECT_EQ(control.inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
}

}  // namespace

namespace {

TEST(EditorControl, StrikeOutCoversTypedTextToo) {
  EditorControl control;
  control.SetShiftJisText("abc");
  CharFormat format = control.DefaultFormat();
  format.strikeOut = true;
  control.SetDefaultFormat(format);
  control.show();
  control.SetReadOnly(false);
  control.SetSelection(3, 3);
  QTest::keyClick(&control, Qt::Key_D);
  control.viewport()->repaint();  // the display update that follows a change
  QApplication::processEvents();
  control.SendScintilla(QsciScintillaBase::SCI_SETINDICATORCURRENT, 8UL);
  EXPECT_EQ(control.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, 8UL, 3L), 1);
  format.strikeOut = false;
  control.SetDefaultFormat(format);
  EXPECT_EQ(control.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, 8UL, 0L), 0);
}

}  // namespace

namespace {

TEST(EditorControl, ShiftJisLengthFollowsEveryEdit) {
  EditorControl control;
  control.SetShiftJisText("ab\x82\xa0" "cd");
  control.SetReadOnly(false);
  control.SetSelection(2, 2);
  control.ReplaceSelection(QString::fromUtf8("漢é"));  // 2 bytes, and "?" for é
  EXPECT_EQ(control.ShiftJisLength(), control.ShiftJisText().size());
  control.SetSelection(1, 10);  // "b漢éあ": across both insertions and あ
  control.ReplaceSelection(QStringLiteral("x"));
  EXPECT_EQ(control.ShiftJisLength(), control.ShiftJisText().size());
  control.UndoLast();
  control.UndoLast();
  EXPECT_EQ(control.ShiftJisLength(), 6u);
}

}  // namespace

namespace {

// What the control draws in place of a character: "" when it draws the
// character itself.
std::string RepresentationOf(const EditorControl& control, char32_t codePoint) {
  std::string utf8 = QString::fromUcs4(&codePoint, 1).toStdString();
  char shown[64] = {};
  if (control.SendScintilla(QsciScintillaBase::SCI_GETREPRESENTATION, utf8.c_str(), nullptr) >= 64) return "(long)";
  control.SendScintilla(QsciScintillaBase::SCI_GETREPRESENTATION, utf8.c_str(), shown);
  return shown;
}

// Every code point the codec gives for single bytes and two-byte strings.
std::set<char32_t> DecodedCodePoints() {
  std::set<char32_t> seen;
  for (int a = 0; a < 256; ++a) {
    for (int b = -1; b < 256; ++b) {
      std::string bytes{static_cast<char>(a)};
      if (b >= 0) bytes += static_cast<char>(b);
      for (char32_t c : QString::fromStdString(kanji::ShiftJisCodec::Decode(bytes)).toUcs4()) seen.insert(c);
    }
  }
  return seen;
}

// What the control should draw in place of a code point the codec gives:
// the byte's name for a raw byte, the character or the bytes' name for a
// held pair, nothing for a character.
std::string ExpectedRepresentation(char32_t c) {
  using kanji::ShiftJisCodec;
  if (ShiftJisCodec::IsRawByte(c)) return "x" + QString::number(c - 0xF700, 16).toUpper().toStdString();
  if (!ShiftJisCodec::IsHeldPair(c)) return "";
  char32_t character = ShiftJisCodec::DuplicateCharacter(c);
  if (character) return QString::fromUcs4(&character, 1).toStdString();
  return "x" + QString::number(c - ShiftJisCodec::kHeldPairBase, 16).toUpper().toStdString();
}

TEST(EditorControl, HalfWidthKatakanaShowAsCharactersNotRawByteBoxes) {
  EditorControl control;
  control.SetShiftJisText("\xB1\xB2\xB3");  // a new document resets the representations
  ASSERT_EQ(control.Utf8Text(), "ｱｲｳ");
  for (char32_t c : DecodedCodePoints()) {
    if (c < 0x20 || c == 0x7F) continue;  // control characters keep the control's own names
    EXPECT_EQ(RepresentationOf(control, c), ExpectedRepresentation(c)) << "U+" << std::hex << static_cast<unsigned>(c);
  }
  EXPECT_EQ(RepresentationOf(control, U'ｱ'), "");
  EXPECT_EQ(RepresentationOf(control, 0xF7FD), "xFD");
  EXPECT_EQ(RepresentationOf(control, 0xF8540), "x8540");
}

// "≒漢字" with the NEC row-13 "≒" (87 90 8A BF 8E 9A) showed as
// "x87 衰 xBF 字", and editing there corrupted the text.
TEST(EditorControl, NecDuplicatePairShowsAsOneMarkedCharacterAndKeepsItsBytes) {
  EditorControl control;
  control.SetShiftJisText("\x87\x90\x8A\xBF\x8E\x9A");
  EXPECT_EQ(QString::fromStdString(std::string(control.Utf8Text())).toUcs4().size(), 3);
  EXPECT_EQ(RepresentationOf(control, 0xF8790), "≒");
  EXPECT_EQ(RepresentationOf(control, U'≒'), "");  // the standard form shows plainly
  EXPECT_EQ(control.SendScintilla(QsciScintillaBase::SCI_POSITIONAFTER, 0UL), 4);  // one step over it
  control.SetReadOnly(false);
  control.SetSelection(4, 7);  // 漢
  control.ReplaceSelection(QString());
  control.SetSelection(0, 0);
  control.ReplaceSelection(QStringLiteral("a"));
  EXPECT_EQ(ToHex(control.ShiftJisText()), "61 87 90 8E 9A");
  EXPECT_EQ(control.ShiftJisLength(), 5u);
}

// Typing past 2 GiB of text crashed the control (its positions are int)
// and lost the unsaved edits: an insertion past the limit is refused.
TEST(EditorControl, InsertionPastTheControlsLimitIsRefusedWithAMessage) {
  ScriptedUser user;
  EditorControl control;
  SetControlLimitsForTesting(20, 20);
  control.SetShiftJisText("0123456789\x82\xa0");  // 13 bytes in the control
  control.SetSelection(13, 13);
  control.ReplaceSelection(QStringLiteral("あいう"));  // 9 more: 22
  EXPECT_EQ(control.ShiftJisText(), "0123456789\x82\xa0");
  control.ReplaceSelection(QStringLiteral("あい"));  // 6 more: 19
  control.SetSelection(19, 19);
  QTest::keyClicks(&control, QStringLiteral("xyz"));  // the second key is one too many
  EXPECT_EQ(control.ShiftJisText(), "0123456789\x82\xa0\x82\xa0\x82\xa2x");
  EXPECT_EQ(control.ShiftJisLength(), 17u);
  EXPECT_TRUE(user.asked.empty()) << "told once the editing step is over";
  QApplication::processEvents();
  ResetControlLimitsForTesting();
  ASSERT_EQ(user.asked.size(), 1u) << "one message for the refusals of one step";
  EXPECT_EQ(user.asked[0].text, QStringLiteral("この編集を行うと文書が大きくなりすぎるため、行いませんでした。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("Kaboma Edit 3"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Exclamation);
  control.SetSelection(0, 0);
  QTest::keyClicks(&control, QStringLiteral("ok"));
  EXPECT_EQ(control.ShiftJisText().substr(0, 3), "ok0") << "under the ordinary limit typing goes on";
}

// Regression: paste and typing over a selection near the limit deleted the
// selection, refused the new text and left the document modified.
TEST(EditorControl, AChangeRefusedForSizeLeavesTextModifiedMarkAndUndoAsTheyWere) {
  ScriptedUser user;
  const std::string text = "0123456789abcd";  // 14 bytes, the limit below
  const std::function<void(EditorControl&)> changes[] = {
      [](EditorControl& c) { c.ReplaceSelection(QStringLiteral("ABCDEFGHIJK")); },
      [](EditorControl& c) {
        QApplication::clipboard()->setText(QStringLiteral("ABCDEFGHIJK"));
        c.PastePlainText();
      },
      [](EditorControl& c) {
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("あ"));
        QApplication::sendEvent(&c, &typed);
      },
  };
  for (const auto& change : changes) {
    EditorControl control;
    control.SetShiftJisText(text);
    control.SetSelection(2, 8);
    SetControlLimitsForTesting(14, 14);
    if (&change == &changes[2]) control.SetSelection(2, 3);  // one byte out, three in
    change(control);
    ResetControlLimitsForTesting();
    const auto which = &change - changes;
    EXPECT_EQ(control.ShiftJisText(), text) << which;
    EXPECT_FALSE(control.IsModified()) << which;
    EXPECT_FALSE(control.isUndoAvailable()) << which;
    QApplication::processEvents();
    EXPECT_EQ(user.asked.size(), static_cast<std::size_t>(which + 1)) << "the user is told";
  }
}

}  // namespace

namespace {

// Text pasted from other applications kept its LF inside a CR LF document,
// so the saved file had line endings the user never typed.
TEST(EditorControl, PastedLineBreaksTakeTheEnterLineEndingAndTheFileKeepsItsOwn) {
  struct Case {
    std::string text, expected;
  };
  const QString pasted = QStringLiteral("1\n2\r\n3\r4\n");
  for (const Case& c : {Case{"a\r\nb\n", "a\r\n1\r\n2\r\n3\r\n4\r\nb\n"},
                        Case{"a\nb\r\n", "a\n1\n2\n3\n4\nb\r\n"},
                        Case{"a\rb\n", "a\r1\r2\r3\r4\rb\n"},
                        Case{"ab", "a1\r\n2\r\n3\r\n4\r\nb"}}) {
    EditorControl control;
    control.SetShiftJisText(c.text);
    control.SetReadOnly(false);
    long afterA = 1 + (c.text[1] == '\r' && c.text[2] == '\n' ? 2 : c.text[1] == 'b' ? 0 : 1);
    control.SetSelection(afterA, afterA);
    QApplication::clipboard()->setText(pasted);
    control.PastePlainText();
    EXPECT_EQ(ToHex(control.ShiftJisText()), ToHex(c.expected)) << ToHex(c.text);
  }
}

}  // namespace
