#pragma once

// Character offsets into the text as the editing control draws it, the way
// a screen reader counts them (UTF-16 code units), and back to the control's
// positions (bytes of its UTF-8 buffer). A character drawn as a marker (a
// byte that is no character, shown as a box naming it) counts as the
// marker's text: the reader reads "x81" where the user sees it.
//
// Nothing here scans from the start of the text: the control keeps the
// offset of every line's start (its line character index, made the first
// time it is asked for and then kept current by each edit), so a question
// costs the characters between the answer and the start of its line. On a
// long line the last position asked about is remembered as a second
// starting point, until an edit before it.

#include <QString>

#include <optional>

class QsciScintillaBase;

class ShownTextOffsets {
 public:
  // A position with the offset it stands at.
  struct Point {
    long position;
    long offset;
  };

  explicit ShownTextOffsets(QsciScintillaBase& control) : m_control(control) {}

  long CharacterCount() const;
  long OffsetOf(long position) const;
  // The character holding `offset` (clamped to the text): its start.
  Point AtOrBefore(long offset) const;
  // The first character boundary at or after `offset`.
  Point AtOrAfter(long offset) const;
  // The text drawn between two positions (character boundaries).
  QString ShownText(long start, long end) const;
  // The text between two offsets: a marker cut by either end gives the part
  // of its text inside.
  QString Text(long startOffset, long endOffset) const;
  // The position after the character at `position`.
  long CharacterEnd(long position) const;

  // An edit at `position` is about to be made: what was learnt after it no
  // longer holds. (What was learnt of another document is dropped unasked.)
  void ForgetFrom(long position);

 private:
  void EnsureLineIndex() const;
  long LineStartOffset(int line) const;
  // The nearest point known before `position` on its line.
  Point StartingPointFor(long position) const;
  void Remember(const Point& point) const;
  std::optional<Point> Anchor() const;
  void* Document() const;

  QsciScintillaBase& m_control;
  mutable std::optional<Point> m_anchor;
  mutable void* m_anchorDocument = nullptr;
};
