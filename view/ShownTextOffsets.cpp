#include "ShownTextOffsets.h"

#include <Qsci/qsciscintillabase.h>

#include <QByteArray>

#include <algorithm>

namespace {

using Sci = QsciScintillaBase;

// A point this far into its line is worth remembering: the next question
// on the line starts from it instead of the line's start.
constexpr long kFarIntoALine = 4096;

int Utf8Length(unsigned char lead) {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

}  // namespace

// The control counts every line's start in the code units of the text as
// drawn once it is asked to; it keeps the count through every edit.
void ShownTextOffsets::EnsureLineIndex() const {
  if (!(m_control.SendScintilla(Sci::SCI_GETLINECHARACTERINDEX) & Sci::SC_LINECHARACTERINDEX_UTF16))
    m_control.SendScintilla(Sci::SCI_ALLOCATELINECHARACTERINDEX, static_cast<unsigned long>(Sci::SC_LINECHARACTERINDEX_UTF16));
}

long ShownTextOffsets::LineStartOffset(int line) const {
  EnsureLineIndex();
  return m_control.SendScintilla(Sci::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                 static_cast<long>(Sci::SC_LINECHARACTERINDEX_UTF16));
}

long ShownTextOffsets::CharacterCount() const {
  return LineStartOffset(static_cast<int>(m_control.SendScintilla(Sci::SCI_GETLINECOUNT)));
}

ShownTextOffsets::Point ShownTextOffsets::StartingPointFor(long position) const {
  auto line = static_cast<unsigned long>(m_control.SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
  Point lineStart{m_control.SendScintilla(Sci::SCI_POSITIONFROMLINE, line), LineStartOffset(static_cast<int>(line))};
  std::optional<Point> anchor = Anchor();
  if (anchor && anchor->position >= lineStart.position && anchor->position <= position) return *anchor;
  return lineStart;
}

void ShownTextOffsets::Remember(const Point& point) const {
  long lineStart = m_control.SendScintilla(
      Sci::SCI_POSITIONFROMLINE, m_control.SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(point.position)));
  if (point.position - lineStart < kFarIntoALine) return;
  m_anchor = point;
  m_anchorDocument = Document();
}

std::optional<ShownTextOffsets::Point> ShownTextOffsets::Anchor() const {
  if (m_anchor && m_anchorDocument != Document()) m_anchor.reset();
  return m_anchor;
}

void* ShownTextOffsets::Document() const {
  return reinterpret_cast<void*>(m_control.SendScintilla(Sci::SCI_GETDOCPOINTER));
}

long ShownTextOffsets::OffsetOf(long position) const {
  position = std::clamp(position, 0L, m_control.SendScintilla(Sci::SCI_GETLENGTH));
  Point from = StartingPointFor(position);
  Point point{position, from.offset + m_control.SendScintilla(Sci::SCI_COUNTSHOWNCODEUNITS,
                                                              static_cast<unsigned long>(from.position), position)};
  Remember(point);
  return point.offset;
}

ShownTextOffsets::Point ShownTextOffsets::AtOrBefore(long offset) const {
  offset = std::clamp(offset, 0L, CharacterCount());
  auto line = static_cast<unsigned long>(m_control.SendScintilla(Sci::SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(offset),
                                                                 static_cast<long>(Sci::SC_LINECHARACTERINDEX_UTF16)));
  Point from{m_control.SendScintilla(Sci::SCI_POSITIONFROMLINE, line), LineStartOffset(static_cast<int>(line))};
  std::optional<Point> anchor = Anchor();
  if (anchor && anchor->position >= from.position && anchor->offset <= offset &&
      m_control.SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(anchor->position)) ==
          static_cast<long>(line))
    from = *anchor;
  long position = m_control.SendScintilla(Sci::SCI_POSITIONAFTERSHOWNCODEUNITS, static_cast<unsigned long>(from.position),
                                          offset - from.offset);
  Point point{position, from.offset + m_control.SendScintilla(Sci::SCI_COUNTSHOWNCODEUNITS,
                                                              static_cast<unsigned long>(from.position), position)};
  Remember(point);
  return point;
}

ShownTextOffsets::Point ShownTextOffsets::AtOrAfter(long offset) const {
  Point point = AtOrBefore(offset);
  if (point.offset >= offset) return point;
  long next = CharacterEnd(point.position);
  return {next, point.offset + m_control.SendScintilla(Sci::SCI_COUNTSHOWNCODEUNITS,
                                                       static_cast<unsigned long>(point.position), next)};
}

long ShownTextOffsets::CharacterEnd(long position) const {
  long length = m_control.SendScintilla(Sci::SCI_GETLENGTH);
  if (position >= length) return length;
  auto lead = static_cast<unsigned char>(m_control.SendScintilla(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position)));
  return std::min(length, position + Utf8Length(lead));
}

QString ShownTextOffsets::ShownText(long start, long end) const {
  if (end <= start) return {};
  long bytes = m_control.SendScintilla(Sci::SCI_GETSHOWNTEXTRANGE, start, end, nullptr);
  QByteArray utf8(static_cast<qsizetype>(bytes), '\0');
  m_control.SendScintilla(Sci::SCI_GETSHOWNTEXTRANGE, start, end, utf8.data());
  return QString::fromUtf8(utf8);
}

QString ShownTextOffsets::Text(long startOffset, long endOffset) const {
  if (endOffset <= startOffset) return {};
  Point start = AtOrBefore(startOffset);
  Point end = AtOrAfter(endOffset);
  return ShownText(start.position, end.position).mid(startOffset - start.offset, endOffset - startOffset);
}

void ShownTextOffsets::ForgetFrom(long position) {
  if (m_anchor && position < m_anchor->position) m_anchor.reset();
}
