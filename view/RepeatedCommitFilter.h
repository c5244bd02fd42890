#pragma once

// Drops an input method's own commit of a composition the editor has
// already made text.
//
// When the editor ends a composition itself (a click, a command, the focus
// leaving), it commits what the preedit shows and tells the input method to
// reset. Some input methods (ibus with Mozc) answer the reset by committing
// their preedit once more. That copy arrives later, wherever the focus is
// by then: in the text after the caret moved, in a dialog the command
// opened. Armed with the committed text, this filter watches every input
// method event of the application and drops the first commit of exactly
// that text that comes before any new preedit; a new preedit or another
// commit shows that no copy is coming, and disarms it.

#include <QObject>
#include <QString>

class RepeatedCommitFilter : public QObject {
 public:
  explicit RepeatedCommitFilter(QObject* parent = nullptr) : QObject(parent) {}
  void Expect(const QString& committed);
  bool IsArmed() const { return !m_expected.isEmpty(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Disarm();

  QString m_expected;
};
