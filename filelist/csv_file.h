// CSV files on disk: written whole from the rows' text, read whole into text, and the extension a
// chosen file name must carry.
#pragma once

#include <string>
#include <string_view>

#include "filelist/csv_read.h"

namespace korval {

// Appends the extension (".csv") unless the path already ends with it, letters compared without
// case. False, leaving the path as it is, when the result would be longer than 259 characters.
bool EnsureExtension(std::wstring& path, std::wstring_view extension);

// Writes the text as a CSV file (created or replaced); false when it cannot be written.
bool WriteCsvFile(const std::wstring& path, std::wstring_view text);

// Reads a CSV file for a list of at most maxRows rows. Unreadable when the file cannot be read.
CsvFileText ReadCsvFile(const std::wstring& path, size_t maxRows);

// Copies a file byte for byte to target, replacing an existing file; false when it fails.
bool CopyFileReplacing(const std::wstring& source, const std::wstring& target);

}  // namespace korval
