// The status bar's date and time texts follow the local minute.

#include "MinuteClock.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace {

qint64 LocalMs(int year, int month, int day, int hour, int minute, int second, int ms) {
  return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)).toMSecsSinceEpoch();
}

class MinuteClockTest : public testing::Test {
 protected:
  qint64 now = 0;
  MinuteClock clock{[this] { return now; }};
};

TEST_F(MinuteClockTest, TheTimeTurnsFrom0959To1000AtTheMinute) {
  now = LocalMs(2026, 3, 4, 9, 59, 0, 0);
  EXPECT_EQ(clock.TimeText(), QStringLiteral("09:59"));
  now = LocalMs(2026, 3, 4, 9, 59, 59, 999);
  EXPECT_EQ(clock.TimeText(), QStringLiteral("09:59"));
  now = LocalMs(2026, 3, 4, 10, 0, 0, 0);
  EXPECT_EQ(clock.TimeText(), QStringLiteral("10:00"));
  EXPECT_EQ(clock.DateText(), QStringLiteral("03/04"));
}

TEST_F(MinuteClockTest, TheDateTurnsAtMidnightWithTwoDigitMonthAndDay) {
  now = LocalMs(2026, 12, 31, 23, 59, 30, 0);
  EXPECT_EQ(clock.DateText(), QStringLiteral("12/31"));
  now = LocalMs(2027, 1, 1, 0, 0, 0, 5);
  EXPECT_EQ(clock.DateText(), QStringLiteral("01/01"));
  EXPECT_EQ(clock.TimeText(), QStringLiteral("00:00"));
}

TEST_F(MinuteClockTest, AClockSetBackWithinTheMinuteIsFollowedAtOnce) {
  now = LocalMs(2026, 5, 6, 14, 30, 10, 0);
  EXPECT_EQ(clock.TimeText(), QStringLiteral("14:30"));
  now = LocalMs(2026, 5, 6, 8, 15, 20, 0);
  EXPECT_EQ(clock.TimeText(), QStringLiteral("08:15"));
  now = LocalMs(2026, 5, 6, 8, 16, 0, 0);
  EXPECT_EQ(clock.TimeText(), QStringLiteral("08:16"));
}

TEST(MinuteClock, WithoutAGivenSourceItShowsTheSystemClock) {
  MinuteClock clock;
  QString before = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm"));
  QString shown = clock.TimeText();
  QString after = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm"));
  EXPECT_TRUE(shown == before || shown == after) << shown.toStdString();
}

}  // namespace
