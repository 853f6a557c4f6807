#include "modes/quicktime_date.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "testing/date_samples.h"
#include "platform/utf8.h"

namespace korval {
namespace {

constexpr uint32_t k20240315At102030 = 3793342830u;  // seconds since 1904-01-01

TEST(QuickTimeDateConvert, SecondsSince1904BecomeCalendarDates) {
  struct Case {
    long long seconds;
    const char* expected;
  } const cases[] = {
      {2145916801LL, "1972-01-01 00:00:01"},
      {2177539199LL, "1972-12-31 23:59:59"},  // the last day of a leap year stays in that year
      {2177516800LL, "1972-12-31 17:46:40"},
      {2177539200LL, "1973-01-01 00:00:00"},
      {2272147200LL, "1976-01-01 00:00:00"},
      {3818512000LL, "2024-12-31 17:46:40"},
      {3818516400LL, "2024-12-31 19:00:00"},
      {k20240315At102030, "2024-03-15 10:20:30"},
      {0xFFFFFFFFLL, "2040-02-06 06:28:15"},
  };
  for (const Case& c : cases) {
    SYSTEMTIME t = Sentinel();
    EXPECT_TRUE(QuickTimeSecondsToDate(c.seconds, t)) << c.seconds;
    EXPECT_EQ(c.expected, SecondsText(t)) << c.seconds;
  }
  SYSTEMTIME t = Sentinel();
  EXPECT_FALSE(QuickTimeSecondsToDate(2145916800LL, t));
  EXPECT_FALSE(QuickTimeSecondsToDate(-1, t));
  EXPECT_EQ(SecondsText(Sentinel()), SecondsText(t));
}

TEST(QuickTimeDateConvert, TimeZoneText) {
  struct Case {
    const wchar_t* text;
    bool ok;
    int hours;
  } const cases[] = {
      {L"9", true, 9},     {L"0", true, 0},      {L"-23", true, -23}, {L"23", true, 23},   {L"+5", true, 5},
      {L" 7 ", true, 7},   {L"09", true, 9},     {L"24", false, 0},   {L"-24", false, 0},  {L"", false, 0},
      {L"-", false, 0},    {L"9h", false, 0},    {L"1.5", false, 0},  {L"99999999999", false, 0},
      {L"９", false, 0},
  };
  for (const Case& c : cases) {
    int hours = 0;
    EXPECT_EQ(c.ok, ParseTimeZoneHours(c.text, hours)) << Utf8(c.text);
    if (c.ok) {
      EXPECT_EQ(c.hours, hours) << Utf8(c.text);
    }
  }
}

}  // namespace
}  // namespace korval
