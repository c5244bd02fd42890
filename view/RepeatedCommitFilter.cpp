#include "RepeatedCommitFilter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>

void RepeatedCommitFilter::Expect(const QString& committed) {
  if (committed.isEmpty() || !QCoreApplication::instance()) return;
  if (!IsArmed()) QCoreApplication::instance()->installEventFilter(this);
  m_expected = committed;
}

void RepeatedCommitFilter::Disarm() {
  m_expected.clear();
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool RepeatedCommitFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::InputMethod || !IsArmed()) return QObject::eventFilter(watched, event);
  const auto* input = static_cast<const QInputMethodEvent*>(event);
  // An empty event clears a preedit (the input method resetting): the copy
  // may still follow.
  if (input->commitString().isEmpty() && input->preeditString().isEmpty()) return false;
  bool copy = input->preeditString().isEmpty() && input->commitString() == m_expected &&
              input->replacementLength() == 0;
  Disarm();
  return copy;
}
