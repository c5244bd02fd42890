#include "TypedLengthLimit.h"

#include <QLineEdit>

TypedLengthLimit::TypedLengthLimit(int maxCharacters, QLineEdit* edit)
    : QObject(edit), m_maxCharacters(maxCharacters), m_edit(edit), m_before(edit->text()) {
  connect(edit, &QLineEdit::textEdited, this, &TypedLengthLimit::OnEdited);
  // The edit's own text: after an edit is taken back it is the old one again.
  connect(edit, &QLineEdit::textChanged, this, [this] { m_before = m_edit->text(); });
}

// An edit that grows the text past the limit is taken back, the caret where
// it was.
void TypedLengthLimit::OnEdited(const QString& text) {
  if (text.size() <= m_maxCharacters || text.size() <= m_before.size()) return;
  int caret = m_edit->cursorPosition() - static_cast<int>(text.size() - m_before.size());
  m_edit->setText(m_before);
  m_edit->setCursorPosition(caret);
}
