#include "AutoIndent.h"

#include "EditorControl.h"
#include "ProfileFile.h"

namespace {

using Sci = QsciScintillaBase;

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsIndentation(char c) { return c == ' ' || c == '\t'; }

}  // namespace

AutoIndent::AutoIndent(ProfileFile& profile, EditorControl& control, long& prevTextLength, QObject* parent)
    : QObject(parent), m_profile(profile), m_control(control), m_prevTextLength(prevTextLength) {
  connect(&m_control, &EditorControl::TextAboutToChange, this, &AutoIndent::ScheduleCheck);
}

bool AutoIndent::IsOn(const ProfileFile& profile) { return profile.GetProfileInt("Config", "Indent", 0) == 1; }

void AutoIndent::Toggle(ProfileFile& profile) {
  profile.WriteProfileInt("Config", "Indent", profile.GetProfileInt("Config", "Indent", 0) == 0 ? 1 : 0);
}

// One check after all the pieces of one edit (a paste, an undo), once the
// control has placed the caret; the check's own insertion schedules none.
void AutoIndent::ScheduleCheck() {
  if (m_inserting || m_scheduled) return;
  m_scheduled = true;
  QMetaObject::invokeMethod(this, &AutoIndent::RunScheduledCheck, Qt::QueuedConnection);
}

void AutoIndent::RunScheduledCheck() {
  m_scheduled = false;
  Check();
}

void AutoIndent::Check() {
  if (!IsOn(m_profile)) return;
  long length = m_control.TextLength();
  long start = m_control.SelectionStart();
  bool grew = m_prevTextLength < length;
  m_prevTextLength = length;  // the indentation inserted below is not counted
  if (start != m_control.SelectionEnd() || !grew || start == 0) return;
  auto before = static_cast<char>(m_control.SendScintilla(Sci::SCI_GETCHARAT, static_cast<unsigned long>(start - 1)));
  if (!IsLineBreak(before)) return;
  QString indentation = IndentationOfLineEndingAt(start - 1);
  if (indentation.isEmpty()) return;
  m_inserting = true;
  m_control.ReplaceSelection(indentation);
  m_inserting = false;
}

// The spaces and tabs at the start of the line that the break at
// `lineBreak` ends (for CR LF, the LF: it belongs to the same line).
QString AutoIndent::IndentationOfLineEndingAt(long lineBreak) const {
  long position = m_control.LineStart(m_control.LineFromPosition(lineBreak));
  QString indentation;
  for (; position < lineBreak; ++position) {
    auto c = static_cast<char>(m_control.SendScintilla(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position)));
    if (!IsIndentation(c)) break;
    indentation += QLatin1Char(c);
  }
  return indentation;
}
