// The EXIF date text (DateTimeOriginal, DateTimeDigitized) and the byte search that finds it in a
// JPEG file whose segments cannot be followed.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>


namespace korval {

// The three attempts read this many bytes from the start of the file into buffers one byte larger.
inline constexpr size_t kExifAttempts = 3;
inline constexpr size_t kExifReadSizes[kExifAttempts] = {4095, 8191, 65534};

// The byte search over the leading bytes of a JPEG file, in three attempts of growing size: for
// images whose segments cannot be followed. False leaves the record unchanged.
bool ExifDateFromBytes(std::string_view fileStart, SYSTEMTIME& record);

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

// Checks a date value as read (19 to 21 bytes: "YYYY:MM:DD HH:MM:SS" and its terminating zeros, if
// any) and stores the date in the record; false, the record unchanged, for anything that is not 19
// characters of that form holding a real date and time (blank and zero dates included).
bool ParseExifDateText(std::string_view value, SYSTEMTIME& record);

}  // namespace korval
