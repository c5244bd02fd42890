#pragma once

// Replaces every line ending of the whole text with one chosen ending: a CR
// followed by LF, every other CR and every other LF become CR, LF or CR LF.
// Every other byte is kept, 0x00 and bytes that are no Shift-JIS character
// included. The replacement is one undoable step, the caret keeps its line
// and column, and a text that already has only the chosen ending is left
// alone (not marked modified).

class EditorControl;
class QWidget;

class LineEndReplacement {
 public:
  enum Ending { Cr = 1, Lf = 2, CrLf = 3 };

  // False when nothing changed. A failed allocation is reported in a
  // message box owned by `owner` and leaves the text as it was.
  static bool Replace(EditorControl& control, Ending ending, QWidget* owner);
};
