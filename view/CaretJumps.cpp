#include "CaretJumps.h"

#include <algorithm>
#include <climits>

#include "EditorControl.h"

namespace {
using Sci = QsciScintillaBase;
}

// The control's display-row commands move the caret to the home and end of
// the row the caret is on, where a wrapped row ends before its last
// character (the next row starts at it).
void CaretJumps::ToLineStart() { m_control.SendScintilla(Sci::SCI_HOMEDISPLAY); }

// The control takes a wrapped row's end one byte before the next row starts
// and moves forward out of the character it lands in: when that last
// character has more than one byte (kana, kanji, anything not ASCII), it
// lands at the next row's start. The caret goes back to the character's
// start, on the caret's own row, where pressing again leaves it.
void CaretJumps::ToLineEnd() {
  int row = DisplayRowOf(m_control.CaretPosition());
  m_control.SendScintilla(Sci::SCI_LINEENDDISPLAY);
  long end = m_control.CaretPosition();
  if (DisplayRowOf(end) <= row) return;
  long before = m_control.SendScintilla(Sci::SCI_POSITIONBEFORE, static_cast<unsigned long>(end));
  m_control.SetSelection(before, before);
}
void CaretJumps::ToTextStart() { m_control.SendScintilla(Sci::SCI_DOCUMENTSTART); }
void CaretJumps::ToTextEnd() { m_control.SendScintilla(Sci::SCI_DOCUMENTEND); }

void CaretJumps::ToLine(int number) {
  if (number == 0) return;
  if (number > 0) WrapThroughRow(number - 1);
  int rows = DisplayRowCount();
  int row = number > 0 && number <= rows ? number - 1 : rows - 1;
  m_control.SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(DisplayRowStart(row)));
}

// The control wraps large documents in the background: lines it has not
// reached yet count one row each. Rows are counted from the top, so the
// lines up to the one holding `row` are wrapped first; a row past the end
// of the rows counted so far may still exist, so that wraps every line. A
// row no text of this length can reach (each row holds a character or
// ends a line) is past the end: the last row, found without wrapping.
void CaretJumps::WrapThroughRow(int row) {
  if (row >= m_control.TextLength() + m_control.LineCount()) return;
  long wrappedBefore = -1;
  for (;;) {
    long firstPending = m_control.SendScintilla(Sci::SCI_GETWRAPPENDING);
    long line = m_control.SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(row));
    if (firstPending < 0 || line < firstPending || firstPending <= wrappedBefore) return;
    wrappedBefore = firstPending;
    m_control.SendScintilla(Sci::SCI_WRAPLINESBEFORE, static_cast<unsigned long>(line + 1));
  }
}

int CaretJumps::DisplayRowCount() const {
  long lastLine = m_control.LineCount() - 1;
  return static_cast<int>(m_control.SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(lastLine)) +
                          m_control.SendScintilla(Sci::SCI_WRAPCOUNT, static_cast<unsigned long>(lastLine)));
}

// The row's logical line, then the row's place among that line's rows: its
// first character is the one nearest the left edge at the row's height.
long CaretJumps::DisplayRowStart(int row) const {
  auto line = static_cast<unsigned long>(m_control.SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE, row));
  long lineStart = m_control.LineStart(static_cast<int>(line));
  long firstRow = m_control.SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, line);
  if (row == firstRow) return lineStart;
  long height = m_control.SendScintilla(Sci::SCI_TEXTHEIGHT, line);
  long top = m_control.SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
  long y = (row - top) * height + height / 2;
  return m_control.SendScintilla(Sci::SCI_POSITIONFROMPOINT, 0UL, y);
}

// The logical line's first row, then how many rows further down the
// character is drawn. A position where a row wraps belongs to the row it
// starts, as the control draws it.
int CaretJumps::DisplayRowOf(long position) const {
  auto line = static_cast<unsigned long>(m_control.LineFromPosition(position));
  long firstRow = m_control.SendScintilla(Sci::SCI_VISIBLEFROMDOCLINE, line);
  if (m_control.SendScintilla(Sci::SCI_WRAPCOUNT, line) <= 1) return static_cast<int>(firstRow);
  long lineStart = m_control.LineStart(static_cast<int>(line));
  long height = std::max(1L, m_control.SendScintilla(Sci::SCI_TEXTHEIGHT, line));
  long down = m_control.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, position) -
              m_control.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, lineStart);
  return static_cast<int>(firstRow + down / height);
}

int CaretJumps::LineNumberFromEntry(const QString& entry) {
  QString text = entry.left(kEntryCharacters);
  int i = 0;
  auto isBlank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long value = 0;  // eight characters hold at most seven digits and a sign
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) value = value * 10 + (text[i].unicode() - u'0');
  return static_cast<int>(negative ? -value : value);
}
