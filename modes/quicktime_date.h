// The creation time stored in the movie header of a QuickTime movie (".mov", ".qt").
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "modes/calendar.h"

namespace korval {

// Six attempts: the last, then the first, of each read size; buffers are one byte larger.
inline constexpr size_t kQuickTimeAttempts = 6;
inline constexpr size_t kQuickTimeReadSizes[3] = {16383, 65535, 524287};

// Reads the movie's creation time into the record. `timezone` is the setting's text: a whole number
// of hours from -23 to 23 is added to the time, anything else adds nothing. kDateFound or
// kDateNotFound; on failure the record is left as it was.
int ReadQuickTimeDate(const std::wstring& path, SYSTEMTIME& record, const std::wstring& timezone);

// The same six attempts over a whole file held in memory.
int QuickTimeDateFromBytes(std::string_view file, SYSTEMTIME& record, const std::wstring& timezone);

// One attempt: `buffer` holds bufferSize bytes, the readSize bytes read followed by zeros. Every
// read stays inside the buffer whatever the bytes say. True when a movie header with a creation time
// after 1972 was found; the time (plus zoneHours) is then stored in the record.
bool ScanQuickTimeBuffer(const unsigned char* buffer, size_t bufferSize, size_t readSize, int zoneHours,
                         SYSTEMTIME& record);

// The setting's text as hours: true for a whole number from -23 to 23 (spaces around it and a sign
// are allowed).
bool ParseTimeZoneHours(std::wstring_view text, int& hours);

// Seconds since 1904-01-01 00:00 as a calendar date; false (record unchanged) for times up to
// 1972-01-01 00:00, which are not taken as capture times.
bool QuickTimeSecondsToDate(long long seconds, SYSTEMTIME& record);

}  // namespace korval
