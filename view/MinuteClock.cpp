#include "MinuteClock.h"

#include <QDateTime>

MinuteClock::MinuteClock(std::function<qint64()> now) : m_now(std::move(now)) {
  if (!m_now) m_now = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

QString MinuteClock::DateText() {
  Refresh();
  return m_date;
}

QString MinuteClock::TimeText() {
  Refresh();
  return m_time;
}

// Formatted again when the minute is over, and when the clock was set back
// (the next minute boundary would otherwise be far ahead).
void MinuteClock::Refresh() {
  qint64 now = m_now();
  if (!m_date.isEmpty() && now >= m_formattedAt && now < m_nextMinuteAt) return;
  QDateTime local = QDateTime::fromMSecsSinceEpoch(now);
  QTime time = local.time();
  m_date = local.toString(QStringLiteral("MM/dd"));
  m_time = local.toString(QStringLiteral("HH:mm"));
  m_formattedAt = now;
  m_nextMinuteAt = now - time.second() * 1000 - time.msec() + 60 * 1000;
}
