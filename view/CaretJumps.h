#pragma once

// Caret jumps without selecting: to the start or end of the caret's line,
// to the start or end of the text, and to a line by number. Every jump
// collapses the selection.
//
// A line here is a display row: with wrapping on, each wrapped row of a
// logical line counts as a line of its own, as the user sees them and as
// the status bar counts them.

#include <QString>

class EditorControl;

class CaretJumps {
 public:
  // Entries are read from their first this many characters.
  static constexpr int kEntryCharacters = 8;

  explicit CaretJumps(EditorControl& control) : m_control(control) {}

  void ToLineStart();
  // Before the line break of a row that ends a line; before the last
  // character of a wrapped row; at the end of the text on the last row.
  void ToLineEnd();
  void ToTextStart();
  void ToTextEnd();
  // To the start of row `number` (counted from 1); 0 does nothing; a number
  // beyond the last row, or below 0, goes to the start of the last row.
  void ToLine(int number);

  // The number a go-to-line entry begins with, read from its first eight
  // characters as atoi reads: blanks skipped, an optional sign, digits up
  // to the first other character; none give 0.
  static int LineNumberFromEntry(const QString& entry);

  int DisplayRowCount() const;
  long DisplayRowStart(int row) const;
  // The display row (from 0) holding the character at `position`.
  int DisplayRowOf(long position) const;

 private:
  void WrapThroughRow(int row);
  EditorControl& m_control;
};
