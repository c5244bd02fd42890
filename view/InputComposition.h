#pragma once

// An input method's composition shown inline in the editing control.
//
// The preedit is laid into the text so that it wraps, scrolls and measures
// like the text around it, but outside the undo history: the modified flag,
// Undo and the byte count never see it, and removing it leaves the text and
// its history exactly as they were. Only a commit becomes text, and each
// commit is one undoable step of its own. A selection the composition
// started on stays in the text until the commit replaces it; undoing that
// commit brings the selection back.

#include <QColor>
#include <QInputMethodEvent>
#include <QString>

#include <vector>

class EditorControl;

class InputComposition {
 public:
  // Indicators drawn over the preedit: the control's own input-method range.
  static constexpr int kInputIndicator = 32;      // typed, not yet converted
  static constexpr int kActiveIndicator = 33;     // the part the next conversion acts on
  static constexpr int kConvertedIndicator = 34;  // converted, not the active part
  static constexpr int kOtherIndicator = 35;      // a format the control does not know
  static constexpr int kKeptSelectionIndicator = 9;  // the selection the commit will replace

  explicit InputComposition(EditorControl& control);

  void Apply(const QInputMethodEvent& event);
  bool IsActive() const { return m_active; }
  // The preedit's range in the control's positions (empty when none).
  long PreeditStart() const { return m_start; }
  long PreeditLength() const { return m_active ? m_length : 0; }
  // Makes what the preedit shows text, as a commit of it would; returns
  // that text (empty when no composition was shown).
  QString CommitShown();
  // True while the preedit itself is being laid in or taken out: such
  // changes are no edits of the text.
  bool IsEditingPreedit() const { return m_editingPreedit; }

  void StyleIndicators(const QColor& text, const QColor& highlight);

  // Undo reached the start of a commit that replaced a selection.
  void OnCommitUndone(int token);
  // The selection to restore once the running undo is over, if any.
  bool TakeSelectionToRestore(long* anchor, long* caret);
  void ForgetHistory();

 private:
  struct Selection {
    long anchor;
    long caret;
  };

  bool IsStaleCommit(const QString& commit) const;
  void Start();
  void ShowPreedit(const QString& preedit, const QList<QInputMethodEvent::Attribute>& attributes);
  void RemovePreedit();
  void End(bool cancelled);
  void InsertCommit(const QString& commit);
  long OverwrittenEnd(long position, const QString& commit) const;
  void MarkSegments(const QString& preedit, const QList<QInputMethodEvent::Attribute>& attributes);
  void MarkKeptSelection(bool on);
  void PlaceCaret(const QString& preedit, const QList<QInputMethodEvent::Attribute>& attributes);
  long SelectionStart() const { return std::min(m_kept.anchor, m_kept.caret); }
  long SelectionEnd() const { return std::max(m_kept.anchor, m_kept.caret); }

  EditorControl& m_control;
  bool m_active = false;
  bool m_editingPreedit = false;
  long m_start = 0;
  long m_length = 0;
  QString m_shown;
  Selection m_kept{0, 0};
  QString m_lastCancelled;
  std::vector<Selection> m_replacedSelections;  // undo tokens are indexes + 1
  int m_undoneToken = 0;
};
