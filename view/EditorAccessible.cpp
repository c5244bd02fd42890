#include "EditorAccessible.h"

#include <QFontMetrics>

#include <algorithm>

#include "EditorControl.h"
#include "TextSegments.h"

namespace {

using Sci = QsciScintillaBase;
using Point = ShownTextOffsets::Point;

// Words and sentences are looked for this many bytes either side of the
// offset asked about, within its line: a long line is never read whole.
constexpr long kSegmentWindow = 1024;

EditorAccessible::Listener& TheListener() {
  static EditorAccessible::Listener listener;
  return listener;
}

QAccessibleInterface* Factory(const QString& key, QObject* object) {
  if (key == QLatin1String("EditorControl") && object && object->isWidgetType())
    return new EditorAccessible(static_cast<EditorControl*>(object));
  return nullptr;
}

QString Rgb(const QColor& colour) {
  return QStringLiteral("rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

}  // namespace

QString EditorAccessible::Name() { return QStringLiteral("本文"); }

void EditorAccessible::InstallOnce() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);  // the last factory installed is asked first
}

void EditorAccessible::SetListener(Listener listener) { TheListener() = std::move(listener); }

EditorAccessible::EditorAccessible(EditorControl* control)
    : QAccessibleWidget(control, QAccessible::EditableText), m_offsets(*control) {
  m_document = reinterpret_cast<void*>(control->SendScintilla(Sci::SCI_GETDOCPOINTER));
  m_modifiedConnection = QObject::connect(
      control, &QsciScintillaBase::SCN_MODIFIED, control,
      [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
        OnModified(position, type, length);
      });
  m_updateConnection = QObject::connect(control, &QsciScintillaBase::SCN_UPDATEUI, control, [this](int) { OnUpdateUi(); });
}

EditorAccessible::~EditorAccessible() {
  QObject::disconnect(m_modifiedConnection);
  QObject::disconnect(m_updateConnection);
}

EditorControl& EditorAccessible::Control() const { return *static_cast<EditorControl*>(widget()); }

void* EditorAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

// The text is made read-only while the view lacks the focus, against stray
// keys; to the user it is always editable, and a reader would announce
// "read only" at every focus change.
QAccessible::State EditorAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.multiLine = true;
  state.selectableText = true;
  state.editable = true;
  state.readOnly = false;
  return state;
}

QString EditorAccessible::text(QAccessible::Text type) const {
  if (type == QAccessible::Name) {
    QString name = widget()->accessibleName();
    return name.isEmpty() ? Name() : name;
  }
  return QAccessibleWidget::text(type);
}

// -- Selection and caret --------------------------------------------------

void EditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  long start = Control().SelectionStart(), end = Control().SelectionEnd();
  if (selectionIndex != 0 || start == end) {
    *startOffset = *endOffset = 0;
    return;
  }
  *startOffset = static_cast<int>(m_offsets.OffsetOf(start));
  *endOffset = static_cast<int>(m_offsets.OffsetOf(end));
}

int EditorAccessible::selectionCount() const { return Control().SelectionStart() != Control().SelectionEnd() ? 1 : 0; }

void EditorAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void EditorAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex != 0) return;
  long caret = Control().CaretPosition();
  Control().SetSelection(caret, caret);
}

void EditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  Control().SetSelection(m_offsets.AtOrBefore(ClampedOffset(startOffset)).position,
                         m_offsets.AtOrBefore(ClampedOffset(endOffset)).position);
}

int EditorAccessible::cursorPosition() const { return static_cast<int>(m_offsets.OffsetOf(Control().CaretPosition())); }

void EditorAccessible::setCursorPosition(int position) {
  Control().SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(m_offsets.AtOrBefore(ClampedOffset(position)).position));
}

// -- Text -----------------------------------------------------------------

long EditorAccessible::ClampedOffset(int offset) const {
  return std::clamp(static_cast<long>(offset), 0L, m_offsets.CharacterCount());
}

int EditorAccessible::characterCount() const { return static_cast<int>(m_offsets.CharacterCount()); }

QString EditorAccessible::text(int startOffset, int endOffset) const {
  long count = m_offsets.CharacterCount();
  long end = endOffset < 0 ? count : std::min(static_cast<long>(endOffset), count);
  return m_offsets.Text(std::max(startOffset, 0), end);
}

QString EditorAccessible::Answer(const Piece& piece, int* startOffset, int* endOffset) {
  *startOffset = static_cast<int>(piece.start);
  *endOffset = static_cast<int>(piece.end);
  return piece.text;
}

QString EditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                       int* endOffset) const {
  return Answer(PieceAt(ClampedOffset(offset), boundaryType), startOffset, endOffset);
}

QString EditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                           int* endOffset) const {
  Piece at = PieceAt(ClampedOffset(offset), boundaryType);
  if (at.start <= 0) return Answer({QString(), -1, -1}, startOffset, endOffset);
  return Answer(PieceAt(at.start - 1, boundaryType), startOffset, endOffset);
}

QString EditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                          int* endOffset) const {
  Piece at = PieceAt(ClampedOffset(offset), boundaryType);
  if (at.end >= m_offsets.CharacterCount() || at.end <= at.start) return Answer({QString(), -1, -1}, startOffset, endOffset);
  return Answer(PieceAt(at.end, boundaryType), startOffset, endOffset);
}

// A line is a display row, as the caret's up and down keys move (a wrapped
// line's rows, the line end with the last); a paragraph is a whole line.
EditorAccessible::Piece EditorAccessible::PieceAt(long offset, QAccessible::TextBoundaryType boundaryType) const {
  if (boundaryType == QAccessible::NoBoundary) {
    long count = m_offsets.CharacterCount();
    return {m_offsets.Text(0, count), 0, count};
  }
  Point at = m_offsets.AtOrBefore(offset);
  switch (boundaryType) {
    case QAccessible::WordBoundary: return SegmentAt(offset, at, true);
    case QAccessible::SentenceBoundary: return SegmentAt(offset, at, false);
    case QAccessible::ParagraphBoundary: return LineAt(at);
    case QAccessible::LineBoundary: return RowAt(at);
    default: return CharacterAt(at);
  }
}

EditorAccessible::Piece EditorAccessible::CharacterAt(const Point& at) const {
  QString text = m_offsets.ShownText(at.position, m_offsets.CharacterEnd(at.position));
  return {text, at.offset, at.offset + text.size()};
}

EditorAccessible::Piece EditorAccessible::SegmentAt(long offset, const Point& at, bool words) const {
  const EditorControl& control = Control();
  int line = control.LineFromPosition(at.position);
  long lineEnd = control.LineEndPosition(line);
  if (at.position >= lineEnd) return CharacterAt(at);  // a line end, or the end of the text
  long windowStart = m_offsets.AtOrBefore(std::max(offset - kSegmentWindow, 0L)).position;
  windowStart = std::max(windowStart, control.LineStart(line));
  long windowEnd = std::min(m_offsets.AtOrAfter(offset + kSegmentWindow).position, lineEnd);
  QString text = m_offsets.ShownText(windowStart, windowEnd);
  long windowOffset =
      at.offset - control.SendScintilla(Sci::SCI_COUNTSHOWNCODEUNITS, static_cast<unsigned long>(windowStart), at.position);
  TextSegments::Range range = TextSegments::Around(text, static_cast<int>(offset - windowOffset),
                                                   words ? TextSegments::Kind::Word : TextSegments::Kind::Sentence);
  return {text.mid(range.start, range.end - range.start), windowOffset + range.start, windowOffset + range.end};
}

EditorAccessible::Piece EditorAccessible::RowAt(const Point& at) const {
  const EditorControl& control = Control();
  long row[2] = {0, 0};  // the control's character range: first, then end
  control.SendScintilla(Sci::SCI_GETROWRANGE, static_cast<unsigned long>(at.position), static_cast<void*>(row));
  long rowStart = row[0], rowEnd = row[1];
  long start = at.offset - control.SendScintilla(Sci::SCI_COUNTSHOWNCODEUNITS, static_cast<unsigned long>(rowStart), at.position);
  QString text = m_offsets.ShownText(rowStart, rowEnd);
  return {text, start, start + text.size()};
}

EditorAccessible::Piece EditorAccessible::LineAt(const Point& at) const {
  int line = Control().LineFromPosition(at.position);
  long lineStart = Control().LineStart(line);
  long start = m_offsets.OffsetOf(lineStart);
  QString text = m_offsets.ShownText(lineStart, Control().LineStart(line + 1));
  return {text, start, start + text.size()};
}

// -- Geometry ---------------------------------------------------------------

QRect EditorAccessible::characterRect(int offset) const {
  const EditorControl& control = Control();
  long position = m_offsets.AtOrBefore(ClampedOffset(offset)).position;
  long next = m_offsets.CharacterEnd(position);
  int x = static_cast<int>(control.SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, position));
  int y = static_cast<int>(control.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, position));
  int nextX = static_cast<int>(control.SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, next));
  int height = static_cast<int>(control.SendScintilla(Sci::SCI_TEXTHEIGHT, static_cast<unsigned long>(control.LineFromPosition(position))));
  int width = nextX > x ? nextX - x : control.fontMetrics().averageCharWidth();
  return {control.viewport()->mapToGlobal(QPoint(x, y)), QSize(width, height)};
}

int EditorAccessible::offsetAtPoint(const QPoint& point) const {
  QPoint local = Control().viewport()->mapFromGlobal(point);
  long position = Control().SendScintilla(Sci::SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(local.x()), local.y());
  return position < 0 ? -1 : static_cast<int>(m_offsets.OffsetOf(position));
}

void EditorAccessible::scrollToSubstring(int startIndex, int endIndex) {
  long start = m_offsets.AtOrBefore(ClampedOffset(startIndex)).position;
  long end = m_offsets.AtOrBefore(ClampedOffset(endIndex)).position;
  Control().SendScintilla(Sci::SCI_SCROLLRANGE, static_cast<unsigned long>(end), start);
}

// The whole text is in the one format the view sets.
QString EditorAccessible::attributes(int, int* startOffset, int* endOffset) const {
  const CharFormat format = Control().DefaultFormat();
  *startOffset = 0;
  *endOffset = characterCount();
  QString attributes = QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:%3;font-style:%4;color:%5;background-color:%6;")
                           .arg(format.face)
                           .arg(format.twips / 20.0)
                           .arg(format.bold ? QStringLiteral("bold") : QStringLiteral("normal"))
                           .arg(format.italic ? QStringLiteral("italic") : QStringLiteral("normal"))
                           .arg(Rgb(format.colour), Rgb(Control().Background()));
  if (format.underline) attributes += QStringLiteral("text-underline-type:single;");
  if (format.strikeOut) attributes += QStringLiteral("text-line-through-type:single;");
  return attributes;
}

// -- Editing ----------------------------------------------------------------

void EditorAccessible::Replace(int startOffset, int endOffset, const QString& text) {
  if (Control().IsReadOnly()) return;
  long start = m_offsets.AtOrBefore(ClampedOffset(std::min(startOffset, endOffset))).position;
  long end = m_offsets.AtOrAfter(ClampedOffset(std::max(startOffset, endOffset))).position;
  Control().ReplaceRange(start, end, text.toStdString());
}

void EditorAccessible::deleteText(int startOffset, int endOffset) { Replace(startOffset, endOffset, QString()); }
void EditorAccessible::insertText(int offset, const QString& text) { Replace(offset, offset, text); }
void EditorAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
  Replace(startOffset, endOffset, text);
}

// -- Events -----------------------------------------------------------------

bool EditorAccessible::Listening() { return static_cast<bool>(TheListener()) || QAccessible::isActive(); }

void EditorAccessible::Send(QAccessibleEvent& event) const {
  if (TheListener()) TheListener()(event);
  else QAccessible::updateAccessibility(&event);
}

// The control tells of each edit before it is made: a deletion is told
// then, with the text it takes; an insertion once it is in place, at the
// next edit or display update.
void EditorAccessible::OnModified(int position, int modificationType, int length) {
  auto* document = reinterpret_cast<void*>(Control().SendScintilla(Sci::SCI_GETDOCPOINTER));
  if (document != m_document) {
    m_document = document;
    m_filling = true;
    m_pendingInsertion.reset();
    m_caretOffset = -1;
  }
  TellOfPendingInsertion();
  if (!(modificationType & (Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE))) return;
  // An input method's preedit is laid into the text as it is typed and
  // taken out again; only its commit is an edit to tell of.
  bool tell = Listening() && !m_filling && length > 0 && !Control().Composition().IsEditingPreedit();
  if (tell && (modificationType & Sci::SC_MOD_BEFOREINSERT)) m_pendingInsertion = Range{position, length};
  if (tell && (modificationType & Sci::SC_MOD_BEFOREDELETE)) {
    QAccessibleTextRemoveEvent event(&Control(), static_cast<int>(m_offsets.OffsetOf(position)),
                                     m_offsets.ShownText(position, position + length));
    Send(event);
  }
  m_offsets.ForgetFrom(position);
}

void EditorAccessible::TellOfPendingInsertion() {
  if (!m_pendingInsertion) return;
  Range inserted = *m_pendingInsertion;
  m_pendingInsertion.reset();
  QAccessibleTextInsertEvent event(&Control(), static_cast<int>(m_offsets.OffsetOf(inserted.position)),
                                   m_offsets.ShownText(inserted.position, inserted.position + inserted.length));
  Send(event);
}

void EditorAccessible::OnUpdateUi() {
  TellOfPendingInsertion();
  m_filling = false;
  m_document = reinterpret_cast<void*>(Control().SendScintilla(Sci::SCI_GETDOCPOINTER));
  if (!Listening()) {
    m_caretOffset = m_selectionStart = m_selectionEnd = -1;
    return;
  }
  TellOfCaretAndSelection();
}

void EditorAccessible::TellOfCaretAndSelection() {
  const EditorControl& control = Control();
  if (control.IsComposing()) return;  // told once the composition ends
  long caret = m_offsets.OffsetOf(control.CaretPosition());
  long start = caret, end = caret;
  if (control.SelectionStart() != control.SelectionEnd()) {
    start = m_offsets.OffsetOf(control.SelectionStart());
    end = m_offsets.OffsetOf(control.SelectionEnd());
  }
  bool selected = start != end, wasSelected = m_selectionStart != m_selectionEnd;
  if ((selected || wasSelected) && (start != m_selectionStart || end != m_selectionEnd)) {
    QAccessibleTextSelectionEvent event(&Control(), static_cast<int>(start), static_cast<int>(end));
    Send(event);
  }
  m_selectionStart = start;
  m_selectionEnd = end;
  if (caret == m_caretOffset) return;
  m_caretOffset = caret;
  QAccessibleTextCursorEvent event(&Control(), static_cast<int>(caret));
  Send(event);
}
