#include "modes/calendar.h"

#include <gtest/gtest.h>

#include "testing/date_samples.h"

namespace korval {
namespace {

struct AddCase {
  SYSTEMTIME from;
  long long days;
  long long seconds;
  const char* expected;
};

TEST(CalendarAdd, ForwardCarriesThroughTheCalendar) {
  const AddCase cases[] = {
      {Date(2024, 1, 1), 0, 59, "2024-01-01 00:00:59.000"},
      {Date(2024, 1, 1, 0, 0, 30), 0, 30, "2024-01-01 00:01:00.000"},
      {Date(2024, 1, 1, 23, 59, 59), 0, 1, "2024-01-02 00:00:00.000"},
      {Date(2024, 1, 31, 12), 0, 12 * 3600, "2024-02-01 00:00:00.000"},
      {Date(2024, 2, 28), 1, 0, "2024-02-29 00:00:00.000"},
      {Date(2023, 2, 28), 1, 0, "2023-03-01 00:00:00.000"},
      {Date(2000, 2, 28), 1, 0, "2000-02-29 00:00:00.000"},
      {Date(2023, 12, 31, 23, 59, 59, 250), 0, 1, "2024-01-01 00:00:00.250"},
      {Date(2024, 2, 29), 1461, 0, "2028-02-29 00:00:00.000"},
      {Date(2023, 1, 31), 1431, 0, "2027-01-01 00:00:00.000"},
      {Date(2019, 6, 1, 12), 0, 9 * 60, "2019-06-01 12:09:00.000"},
      {Date(2019, 6, 1, 12), 0, 604800, "2019-06-08 12:00:00.000"},
      {Date(2024, 1, 1), 366, 86399, "2025-01-01 23:59:59.000"},
      // Century years: 1900 and 2100 have no 29 February, 2000 has.
      {Date(2100, 2, 28), 1, 0, "2100-03-01 00:00:00.000"},
      {Date(2099, 3, 1), 1461, 0, "2103-03-02 00:00:00.000"},
      {Date(1899, 12, 31), 60, 0, "1900-03-01 00:00:00.000"},
      {Date(1972, 1, 1), 0, 3818512000LL - 2145916800LL, "2024-12-31 17:46:40.000"},
  };
  for (const AddCase& c : cases) {
    SYSTEMTIME t = c.from;
    EXPECT_TRUE(AddToDateTime(t, c.days, c.seconds));
    EXPECT_EQ(c.expected, TimeText(t)) << "from " << TimeText(c.from) << " +" << c.days << "d +" << c.seconds << "s";
  }
}

TEST(CalendarAdd, BackwardBorrowsDaysMonthsAndYears) {
  const AddCase cases[] = {
      {Date(2024, 1, 1, 12), 0, -3600, "2024-01-01 11:00:00.000"},
      {Date(2024, 1, 1, 0, 30), 0, -3600, "2023-12-31 23:30:00.000"},
      {Date(2024, 3, 1, 6), -1, 0, "2024-02-29 06:00:00.000"},
      {Date(2023, 3, 1, 6), -1, 0, "2023-02-28 06:00:00.000"},
      {Date(2024, 1, 15), -15, 0, "2023-12-31 00:00:00.000"},
      {Date(2024, 5, 10, 1), -366, -7200, "2023-05-09 23:00:00.000"},
      {Date(2100, 3, 1), -1, 0, "2100-02-28 00:00:00.000"},
      // More than a day of negative seconds still lands on the right day.
      {Date(2024, 1, 3, 1), 0, -2 * 86400, "2024-01-01 01:00:00.000"},
  };
  for (const AddCase& c : cases) {
    SYSTEMTIME t = c.from;
    EXPECT_TRUE(AddToDateTime(t, c.days, c.seconds));
    EXPECT_EQ(c.expected, TimeText(t)) << "from " << TimeText(c.from) << " " << c.days << "d " << c.seconds << "s";
  }
}

TEST(CalendarAdd, OddRecordsNeitherCrashNorLeaveTheRecordRange) {
  SYSTEMTIME reset{};  // the run's record before any row: year 0, month 0, day 0 lies before year 0
  EXPECT_FALSE(AddToDateTime(reset, 0, 1));
  EXPECT_EQ("0000-00-00 00:00:00.000", TimeText(reset));

  SYSTEMTIME noMonth = Date(2024, 0, 0);  // month taken as January, day 0 as the day before the 1st
  EXPECT_TRUE(AddToDateTime(noMonth, 0, 1));
  EXPECT_EQ("2023-12-31 00:00:01.000", TimeText(noMonth));

  SYSTEMTIME early = Date(0, 1, 1);
  EXPECT_FALSE(AddToDateTime(early, -1, 0));
  EXPECT_EQ("0000-01-01 00:00:00.000", TimeText(early));  // unchanged

  SYSTEMTIME late = Date(65535, 12, 31, 23, 59, 59);
  EXPECT_FALSE(AddToDateTime(late, 0, 1));
  EXPECT_EQ(65535, late.wYear);

  SYSTEMTIME huge = Date(2024, 1, 1);
  EXPECT_FALSE(AddToDateTime(huge, 0x7FFFFFFFFFFFFFFFLL, 0));
  EXPECT_FALSE(AddToDateTime(huge, 0, -0x7FFFFFFFFFFFFFFFLL));
  EXPECT_EQ("2024-01-01 00:00:00.000", TimeText(huge));
}

TEST(CalendarDayOfWeek, KnownDates) {
  struct Case {
    int y, m, d, expected;
  } const cases[] = {
      {2024, 1, 1, 1},  {2000, 2, 29, 2}, {1900, 3, 1, 4},  {2100, 12, 31, 5}, {1972, 1, 1, 6},  {1601, 1, 1, 1},
      {2023, 12, 31, 0}, {2024, 2, 29, 4}, {9999, 12, 31, 5}, {1904, 1, 1, 5},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, DayOfWeek(c.y, c.m, c.d)) << c.y << "-" << c.m << "-" << c.d;
}

TEST(CalendarDayOfWeek, AnyInputGivesADayOfTheWeek) {
  for (int y : {0, 1, 65535}) {
    for (int m : {0, 1, 2, 13, 99}) {
      for (int d : {0, 1, 31, 99}) {
        const int w = DayOfWeek(y, m, d);
        EXPECT_GE(w, 0);
        EXPECT_LE(w, 6);
      }
    }
  }
}

TEST(CalendarDayOfWeek, ConsecutiveDaysStepThroughTheWeek) {
  SYSTEMTIME t = Date(1999, 12, 1);
  int previous = DayOfWeek(t.wYear, t.wMonth, t.wDay);
  for (int i = 0; i < 800; ++i) {
    ASSERT_TRUE(AddToDateTime(t, 1, 0));
    const int now = DayOfWeek(t.wYear, t.wMonth, t.wDay);
    ASSERT_EQ((previous + 1) % 7, now) << TimeText(t);
    previous = now;
  }
}

}  // namespace
}  // namespace korval
