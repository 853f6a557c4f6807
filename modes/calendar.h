// Calendar arithmetic on the broken-down time record: moving a date by days and seconds, and the day
// of the week. Shared by dates in names and by time stamps; no file access here.
#pragma once

#include <windows.h>

namespace korval {

// What the capture-time readers answer.
inline constexpr int kDateFound = 0;
inline constexpr int kDateNotFound = 1;

// Adds days and seconds (either may be negative, of any size) to the record, carrying through the
// Gregorian calendar; milliseconds are kept and the day of the week is set to match. A month outside
// 1..12 is taken as its nearest valid month and a day outside the month runs over into the next
// (day 0 is the last day of the month before). Returns false, leaving the record as it was, when the
// result would fall outside the years 0..65535 that the record can hold.
bool AddToDateTime(SYSTEMTIME& record, long long days, long long seconds);

// 0 for Sunday to 6 for Saturday (proleptic Gregorian calendar; any input gives 0..6).
int DayOfWeek(int year, int month, int day);

}  // namespace korval
