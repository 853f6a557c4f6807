// The keys of one section of an ini file, read whole and written as one change of the whole file.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace korval {

using IniKeys = std::vector<std::pair<std::wstring, std::wstring>>;

// The section the program keeps its settings in.
inline constexpr const wchar_t* kSection = L"Base";
// How long a start or a save waits for another one's change of the file (a save takes a moment).
inline constexpr unsigned long kIniLockWaitMs = 10000;

// The name of the lock that every program sharing the ini file takes before it changes it.
std::wstring IniLockKey(const std::wstring& iniPath);

// The keys and values of the section, in the file's order (trimmed, quotes kept).
IniKeys ReadSection(const std::wstring& iniPath, const wchar_t* section = kSection);

// The value of key (letter case ignored), or null.
const std::wstring* FindValue(const IniKeys& keys, const wchar_t* key);
std::wstring* FindValue(IniKeys& keys, const wchar_t* key);

// Writes the keys whose values differ from the file's, under the file's lock: into a copy beside
// the file with the profile functions (so the bytes are theirs), which then replaces the file.
// Where the copy cannot be made or cannot replace the file, the keys are written into the file
// itself, as the profile functions do. False when a key could not be written.
bool WriteIniKeys(const std::wstring& iniPath, const wchar_t* section, const IniKeys& keys);

}  // namespace korval
