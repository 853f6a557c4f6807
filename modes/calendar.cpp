// Calendar arithmetic: dates become a count of days, are moved, and are turned back into a date, so
// month lengths, leap years and century years all come out right for any distance.
#include "modes/calendar.h"

namespace korval {
namespace {

constexpr long long kSecondsPerDay = 86400;

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
long long DaysFromCivil(long long year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = FloorDiv(year, 400);
  const long long yearOfEra = year - era * 400;                                  // 0..399
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // from 1 March
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(long long days, long long& year, int& month, int& day) {
  days += 719468;
  const long long era = FloorDiv(days, 146097);
  const long long dayOfEra = days - era * 146097;                                         // 0..146096
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);  // 0..365
  const long long monthFromMarch = (5 * dayOfYear + 2) / 153;                                 // 0..11
  day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

bool AddToDateTime(SYSTEMTIME& record, long long days, long long seconds) {
  // Beyond these the counts below could overflow; no date the record can hold is that far away.
  constexpr long long kDayLimit = 100000000LL;
  if (days > kDayLimit || days < -kDayLimit || seconds > kDayLimit * kSecondsPerDay ||
      seconds < -kDayLimit * kSecondsPerDay) {
    return false;
  }
  const int month = record.wMonth < 1 ? 1 : (record.wMonth > 12 ? 12 : record.wMonth);
  const long long timeOfDay = record.wHour * 3600LL + record.wMinute * 60LL + record.wSecond + seconds;
  const long long dayCount = DaysFromCivil(record.wYear, month, 1) + (record.wDay - 1) + days +
                             FloorDiv(timeOfDay, kSecondsPerDay);
  const long long secondOfDay = timeOfDay - FloorDiv(timeOfDay, kSecondsPerDay) * kSecondsPerDay;

  long long year = 0;
  int newMonth = 1, newDay = 1;
  CivilFromDays(dayCount, year, newMonth, newDay);
  if (year < 0 || year > 65535) return false;

  record.wYear = static_cast<WORD>(year);
  record.wMonth = static_cast<WORD>(newMonth);
  record.wDay = static_cast<WORD>(newDay);
  record.wHour = static_cast<WORD>(secondOfDay / 3600);
  record.wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
  record.wSecond = static_cast<WORD>(secondOfDay % 60);
  record.wDayOfWeek = static_cast<WORD>(DayOfWeek(record.wYear, record.wMonth, record.wDay));
  return true;
}

int DayOfWeek(int year, int month, int day) {
  long long y = year, m = month;
  if (m < 3) {
    m += 12;
    y -= 1;
  }
  const long long sum = day + (13 * m + 8) / 5 + y + FloorDiv(y, 4) - FloorDiv(y, 100) + FloorDiv(y, 400);
  return static_cast<int>(((sum % 7) + 7) % 7);
}

}  // namespace korval
