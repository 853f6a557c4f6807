// Writing a data file whole: its read-only, hidden, archive and system attributes are cleared first,
// so that a file the user marked read-only is still replaced.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace korval {

// Clears the read-only, hidden, archive and system attributes of an existing file.
void ClearDataFileAttributes(const std::wstring& path);

// Writes every byte to the open file; false when a write fails.
bool WriteAllBytes(HANDLE file, std::string_view bytes);

// Creates or truncates the file and writes the bytes; false when it cannot be created or written.
bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes);

}  // namespace korval
