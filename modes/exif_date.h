// The capture time stored in a JPEG photograph (the EXIF DateTimeOriginal tag, or DateTimeDigitized
// when the photograph has only that).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "modes/calendar.h"

namespace korval {

// The three attempts read this many bytes from the start of the file into buffers one byte larger.
inline constexpr size_t kExifAttempts = 3;
inline constexpr size_t kExifReadSizes[kExifAttempts] = {4095, 8191, 65534};

// Reads the capture time of a ".jpg" or ".jpeg" file (any case) into the record as it is written in
// the photograph (no time-zone change, milliseconds 0). kDateFound or kDateNotFound; on failure the
// record is left as it was.
int ReadExifDate(const std::wstring& path, SYSTEMTIME& record);

// The same three attempts over the leading bytes of a file held in memory.
int ExifDateFromBytes(std::string_view fileStart, SYSTEMTIME& record);

enum class ExifScan {
  kNothing,         // no usable date tag in this attempt
  kValue,           // `value` holds the 20 bytes of the capture time (or of the digitized time)
  kOriginalBeyond,  // the capture time's value lies past this buffer; a larger attempt may reach it
};

// One attempt: `buffer` holds bufferSize bytes, the file's first readSize bytes followed by zeros.
// Every read stays inside the buffer whatever the bytes say. When the capture time lies beyond the
// buffer, `digitized` receives a DateTimeDigitized value met before it (if any).
ExifScan ScanExifBuffer(const unsigned char* buffer, size_t bufferSize, size_t readSize, std::string& value,
                        std::string& digitized);

// Checks the 20 bytes of a date value ("YYYY:MM:DD HH:MM:SS" and its terminating zero) and stores
// the date in the record; false leaves the record as it was.
bool ParseExifDateText(std::string_view value, SYSTEMTIME& record);

}  // namespace korval
