#pragma once

// The date and time texts of the status bar ("MM/dd", "HH:mm"), formatted
// again only when the local minute has moved on. The panes are refreshed
// every 50 ms; the texts change once a minute.

#include <QString>
#include <QtGlobal>

#include <functional>

class MinuteClock {
 public:
  // `now` gives milliseconds since the epoch (the system clock unless given).
  explicit MinuteClock(std::function<qint64()> now = {});

  QString DateText();
  QString TimeText();

 private:
  void Refresh();

  std::function<qint64()> m_now;
  qint64 m_formattedAt = 0;
  qint64 m_nextMinuteAt = 0;  // the first millisecond of the next local minute
  QString m_date;
  QString m_time;
};
