#include "InputComposition.h"

#include <QTextCharFormat>

#include <algorithm>
#include <utility>

#include "EditorControl.h"

namespace {

using Sci = QsciScintillaBase;

// Input methods mark the part a conversion acts on with a background (or
// reverse video, which sets one too); converted parts with dotted or wavy
// lines on some platforms; everything else with a plain underline.
int IndicatorFor(const QTextFormat& format) {
  QTextCharFormat charFormat = format.toCharFormat();
  if (charFormat.hasProperty(QTextFormat::BackgroundBrush) && charFormat.background().style() != Qt::NoBrush)
    return InputComposition::kActiveIndicator;
  switch (charFormat.underlineStyle()) {
    case QTextCharFormat::NoUnderline:
    case QTextCharFormat::SingleUnderline:
    case QTextCharFormat::DashUnderline:
      return InputComposition::kInputIndicator;
    case QTextCharFormat::DotLine:
    case QTextCharFormat::DashDotLine:
    case QTextCharFormat::DashDotDotLine:
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
      return InputComposition::kConvertedIndicator;
  }
  return InputComposition::kOtherIndicator;
}

long Utf8Length(const QString& text) { return static_cast<long>(text.toUtf8().size()); }

}  // namespace

InputComposition::InputComposition(EditorControl& control) : m_control(control) {}

void InputComposition::Apply(const QInputMethodEvent& event) {
  const QString commit = event.commitString();
  const QString preedit = event.preeditString();
  if (!m_active && preedit.isEmpty() && IsStaleCommit(commit)) {
    m_lastCancelled.clear();
    return;
  }
  // While the view lacks the focus the text takes no new input; a
  // composition already shown still ends as the input method says.
  if (!m_active && m_control.IsReadOnly()) return;
  // A composition already on screen may still end while the text is
  // read-only (the focus has gone): the commit is what the user saw typed.
  EditorControl::WritableWhile writable(m_control);
  if (m_active && (!commit.isEmpty() || preedit.isEmpty())) End(commit.isEmpty());
  if (!commit.isEmpty()) InsertCommit(commit);
  if (!preedit.isEmpty()) ShowPreedit(preedit, event.attributes());
}

// Some input methods, after a composition was cancelled, still hold its
// text and commit it when the window loses the focus. A commit that
// repeats the cancelled composition word for word, with no composition
// shown since, is taken for that: a working input method composes (and
// shows) what it commits.
bool InputComposition::IsStaleCommit(const QString& commit) const {
  return !commit.isEmpty() && commit == m_lastCancelled;
}

QString InputComposition::CommitShown() {
  if (!m_active) return QString();
  EditorControl::WritableWhile writable(m_control);
  QString shown = m_shown;
  End(false);
  InsertCommit(shown);
  return shown;
}

void InputComposition::Start() {
  m_active = true;
  m_lastCancelled.clear();
  m_kept = {m_control.SendScintilla(Sci::SCI_GETANCHOR), m_control.SendScintilla(Sci::SCI_GETCURRENTPOS)};
  m_start = SelectionEnd();
  m_length = 0;
  MarkKeptSelection(true);
}

void InputComposition::ShowPreedit(const QString& preedit, const QList<QInputMethodEvent::Attribute>& attributes) {
  if (m_active) RemovePreedit();
  else Start();
  QByteArray utf8 = preedit.toUtf8();
  long before = m_control.TextLength();
  m_editingPreedit = true;
  m_control.SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
  m_control.SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(m_start), utf8.constData());
  m_control.SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
  m_editingPreedit = false;
  m_length = m_control.TextLength() - before;  // nothing when the text is full
  m_shown = preedit;
  MarkSegments(preedit, attributes);
  PlaceCaret(preedit, attributes);
}

void InputComposition::RemovePreedit() {
  if (m_length > 0) {
    m_editingPreedit = true;
    m_control.SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
    m_control.SendScintilla(Sci::SCI_DELETERANGE, static_cast<unsigned long>(m_start), m_length);
    m_control.SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
    m_editingPreedit = false;
  }
  m_length = 0;
  m_control.SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(m_kept.anchor), m_kept.caret);
}

void InputComposition::End(bool cancelled) {
  RemovePreedit();
  MarkKeptSelection(false);
  m_active = false;
  if (cancelled) m_lastCancelled = m_shown;
  m_shown.clear();
}

// One undoable step: the selection it replaces (brought back by its undo),
// or in overwrite mode as many characters as it brings, then the text.
void InputComposition::InsertCommit(const QString& commit) {
  m_lastCancelled.clear();
  long anchor = m_control.SendScintilla(Sci::SCI_GETANCHOR);
  long caret = m_control.SendScintilla(Sci::SCI_GETCURRENTPOS);
  long start = std::min(anchor, caret), end = std::max(anchor, caret);
  bool replacing = start != end;
  if (!replacing && m_control.IsOverwrite()) end = OverwrittenEnd(start, commit);
  QByteArray utf8 = commit.toUtf8();
  m_control.SendScintilla(Sci::SCI_BEGINUNDOACTION);
  if (replacing) {
    m_replacedSelections.push_back({anchor, caret});
    m_control.SendScintilla(Sci::SCI_ADDUNDOACTION, static_cast<unsigned long>(m_replacedSelections.size()), 0L);
  }
  m_control.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
  m_control.SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(utf8.size()), utf8.constData());
  long after = m_control.SendScintilla(Sci::SCI_GETTARGETEND);
  m_control.SendScintilla(Sci::SCI_ENDUNDOACTION);
  m_control.SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(after));
}

// Overwriting stops at the end of the line, as typing over does.
long InputComposition::OverwrittenEnd(long position, const QString& commit) const {
  long lineEnd = m_control.LineEndPosition(m_control.LineFromPosition(position));
  qsizetype characters = commit.toUcs4().size();
  for (qsizetype i = 0; i < characters && position < lineEnd; ++i)
    position = m_control.SendScintilla(Sci::SCI_POSITIONAFTER, static_cast<unsigned long>(position));
  return std::min(position, lineEnd);
}

void InputComposition::MarkSegments(const QString& preedit, const QList<QInputMethodEvent::Attribute>& attributes) {
  std::vector<int> indicators(static_cast<std::size_t>(preedit.size()), kInputIndicator);
  for (const QInputMethodEvent::Attribute& attribute : attributes) {
    if (attribute.type != QInputMethodEvent::TextFormat) continue;
    int indicator = IndicatorFor(attribute.value.value<QTextFormat>());
    int from = std::clamp(attribute.start, 0, static_cast<int>(preedit.size()));
    int to = std::clamp(attribute.start + attribute.length, from, static_cast<int>(preedit.size()));
    std::fill(indicators.begin() + from, indicators.begin() + to, indicator);
  }
  long position = m_start;
  for (qsizetype i = 0; i < preedit.size();) {
    qsizetype run = i;
    while (run < preedit.size() && indicators[static_cast<std::size_t>(run)] == indicators[static_cast<std::size_t>(i)])
      ++run;
    long length = Utf8Length(preedit.mid(i, run - i));
    if (position + length > m_start + m_length) break;  // the text took less than all of it
    m_control.SendScintilla(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(indicators[i]));
    m_control.SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(position), length);
    position += length;
    i = run;
  }
}

void InputComposition::MarkKeptSelection(bool on) {
  if (SelectionStart() == SelectionEnd()) return;
  m_control.SendScintilla(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(kKeptSelectionIndicator));
  m_control.SendScintilla(on ? Sci::SCI_INDICATORFILLRANGE : Sci::SCI_INDICATORCLEARRANGE,
                          static_cast<unsigned long>(SelectionStart()), SelectionEnd() - SelectionStart());
}

void InputComposition::PlaceCaret(const QString& preedit, const QList<QInputMethodEvent::Attribute>& attributes) {
  qsizetype cursor = preedit.size();
  for (const QInputMethodEvent::Attribute& attribute : attributes)
    if (attribute.type == QInputMethodEvent::Cursor) cursor = std::clamp<qsizetype>(attribute.start, 0, preedit.size());
  long position = std::min(m_start + Utf8Length(preedit.left(cursor)), m_start + m_length);
  m_control.SendScintilla(Sci::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(position));
  m_control.SendScintilla(Sci::SCI_SCROLLCARET);
}

void InputComposition::StyleIndicators(const QColor& text, const QColor& highlight) {
  for (int indicator : {kInputIndicator, kConvertedIndicator, kOtherIndicator}) {
    m_control.SendScintilla(Sci::SCI_INDICSETSTYLE, static_cast<unsigned long>(indicator),
                            static_cast<long>(Sci::INDIC_COMPOSITIONTHIN));
    m_control.SendScintilla(Sci::SCI_INDICSETFORE, static_cast<unsigned long>(indicator), text);
  }
  auto shade = [&](int indicator, int alpha) {
    m_control.SendScintilla(Sci::SCI_INDICSETSTYLE, static_cast<unsigned long>(indicator),
                            static_cast<long>(Sci::INDIC_STRAIGHTBOX));
    m_control.SendScintilla(Sci::SCI_INDICSETFORE, static_cast<unsigned long>(indicator), highlight);
    m_control.SendScintilla(Sci::SCI_INDICSETALPHA, static_cast<unsigned long>(indicator), static_cast<long>(alpha));
    m_control.SendScintilla(Sci::SCI_INDICSETOUTLINEALPHA, static_cast<unsigned long>(indicator),
                            static_cast<long>(alpha));
    m_control.SendScintilla(Sci::SCI_INDICSETUNDER, static_cast<unsigned long>(indicator), 1L);
  };
  shade(kActiveIndicator, 110);
  shade(kKeptSelectionIndicator, 60);
}

void InputComposition::OnCommitUndone(int token) { m_undoneToken = token; }

bool InputComposition::TakeSelectionToRestore(long* anchor, long* caret) {
  int token = std::exchange(m_undoneToken, 0);
  if (token <= 0 || static_cast<std::size_t>(token) > m_replacedSelections.size()) return false;
  *anchor = m_replacedSelections[static_cast<std::size_t>(token) - 1].anchor;
  *caret = m_replacedSelections[static_cast<std::size_t>(token) - 1].caret;
  return true;
}

void InputComposition::ForgetHistory() {
  m_active = false;
  m_length = 0;
  m_shown.clear();
  m_lastCancelled.clear();
  m_replacedSelections.clear();
  m_undoneToken = 0;
}
