// The size and date texts of the list's optional columns: fixed-width, right-aligned sizes in bytes,
// KB or MB, and dates of creation, last write or capture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace korval {

enum SizeUnit : int { kSizeInBytes = 0, kSizeInKb = 1, kSizeInMb = 2 };
// `columndate`: what the date column shows.
enum DateKind : int { kDateKindCreated = 0, kDateKindWritten = 1, kDateKindCaptured = 2, kDateKindCapturedOrCreated = 3 };

// Field widths of the size texts: bytes, and KB or MB.
inline constexpr size_t kSizeFieldBytes = 13;
inline constexpr size_t kSizeFieldUnits = 11;

size_t SizeFieldWidth(int unit);

// The size text of a size in bytes, right-aligned in its field, with thousands separators; from
// 10,000,000,000 bytes on the ">= n.n G" form. An unknown unit counts as bytes.
std::wstring SizeTextOf(std::uint64_t bytes, int unit);

// A size cell that was not computed: blanks as wide as the unit's field.
std::wstring BlankSizeText(int unit);

struct SizeResult {
  std::uint64_t bytes = 0;  // 0 when the directory entry cannot be found
  std::wstring text;
};

// The size of the first directory entry found for the path and its text.
SizeResult FormatSizeText(const std::wstring& path, int unit, FileSystem& fs = SystemFileSystem());

// A calendar record as the date column shows it: "YYYY/MM/DD hh:mm:ss".
std::wstring DateTextOf(const SYSTEMTIME& time);

// The date text of a file whose times are known (from a folder enumeration, say): creation or last
// write time in local time, or the capture time read from a photograph or a movie (timezone is the
// movie time-zone setting). False, with a single blank as the text, when there is no such date.
bool DateTextFromTimes(const std::wstring& path, int kind, const FILETIME& created, const FILETIME& written,
                       const std::wstring& timezone, std::wstring& text);

// The same, looking up the file's times first.
bool FormatDateText(const std::wstring& path, int kind, const std::wstring& timezone, std::wstring& text,
                    FileSystem& fs = SystemFileSystem());

}  // namespace korval
