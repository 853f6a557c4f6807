// Movie times: seconds since 1904-01-01 00:00 UTC, as movie headers keep them, turned into the
// calendar date that goes into names, in the time zone the `timezone` setting asks for.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "modes/calendar.h"

namespace korval {

// The `timezone` setting when it was never set: movie times, which are kept in UTC, are shown in the
// system's local time of their date (summer time included).
inline constexpr wchar_t kSystemTimeZone[] = L"system";

// A movie time (seconds since 1904, UTC) as a calendar date: with kSystemTimeZone in the system's
// local time of that date, otherwise plus the whole hours of the setting (-23..23; anything else
// adds nothing). False, the record unchanged, for times up to 1972 (cameras without a clock).
bool MovieTimeToLocal(long long seconds, const std::wstring& timezone, SYSTEMTIME& record);

// The setting's text as hours: true for a whole number from -23 to 23 (spaces around it and a sign
// are allowed).
bool ParseTimeZoneHours(std::wstring_view text, int& hours);

// Seconds since 1904-01-01 00:00 as a calendar date; false (record unchanged) for times up to
// 1972-01-01 00:00, which are not taken as capture times.
bool QuickTimeSecondsToDate(long long seconds, SYSTEMTIME& record);

}  // namespace korval
