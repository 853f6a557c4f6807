// Reading a data file whole, up to a limit, into memory.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace korval {

// Reads at most limit bytes from the start of the file; false when it cannot be opened or read.
// shareMode says what others may do with the file meanwhile (FILE_SHARE_READ keeps writers out).
bool ReadFileHead(const std::wstring& path, size_t limit, DWORD shareMode, std::vector<unsigned char>& bytes);

}  // namespace korval
