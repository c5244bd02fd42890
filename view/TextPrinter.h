#pragma once

// Lays the editing control's text out on paper: the whole text in the
// control's font and text colour on white, wrapped to the width between the
// margins, page after page. The control lays each page out itself, so the
// paper shows the text as the screen does (tabs, the boxes of bytes and
// pairs without a character), with the desktop's font fallback for any
// script the face lacks.

class EditorControl;
class QPrinter;

class TextPrinter {
 public:
  static constexpr int kTwipsPerInch = 1440;

  TextPrinter(const EditorControl& control, int marginTwips) : m_control(control), m_marginTwips(marginTwips) {}

  // Paints the text on `printer` (its page range only, when it has one) and
  // returns the number of pages painted: at least one for an empty text, 0
  // when the printer cannot be painted on (an output file that cannot be
  // written).
  int Print(QPrinter& printer) const;

 private:
  const EditorControl& m_control;
  int m_marginTwips;
};
