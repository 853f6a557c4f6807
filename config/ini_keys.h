// The keys of one section of an ini file, read whole and written as one change of the whole file.
#pragma once

#include <functional>
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

// The steps of a write to the file system: copying the file, writing keys with the profile functions,
// and moving the copy over the file. Tests replace them to play a full disk.
struct IniFileSteps {
  std::function<bool(const std::wstring& from, const std::wstring& to)> copy;
  std::function<bool(const std::wstring& path, const wchar_t* section, const IniKeys& keys)> writeKeys;
  std::function<bool(const std::wstring& from, const std::wstring& to)> replace;
};
const IniFileSteps& SystemIniFileSteps();

// Writes the keys whose values differ from the file's, under the file's lock: into a copy beside
// the file with the profile functions (so the bytes are theirs), which then replaces the file once
// its bytes were read back and hold every key of the file. The file is never left shorter than it
// was: when no whole copy can be made (a full disk), the file stays as it is and false is returned.
// Only where nothing can be lost are the keys written into the file itself, as the profile
// functions do: a file that does not exist yet, or one that a whole copy could not replace (a
// read-only file, a file held open). False when a key could not be written.
bool WriteIniKeys(const std::wstring& iniPath, const wchar_t* section, const IniKeys& keys,
                  const IniFileSteps& steps = SystemIniFileSteps());

}  // namespace korval
