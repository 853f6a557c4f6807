// Reading the settings' section and writing its keys through a replacement of the whole file.
#include "config/ini_keys.h"

#include <windows.h>

#include <cwchar>

#include "platform/named_lock.h"

namespace korval {
namespace {

std::wstring Trimmed(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool WriteKeys(const std::wstring& path, const wchar_t* section, const IniKeys& keys) {
  bool written = true;
  for (const auto& [key, value] : keys) {
    written = WritePrivateProfileStringW(section, key.c_str(), value.c_str(), path.c_str()) && written;
  }
  return written;
}

// A name beside the file that no other writer uses, not even this process a moment before: the
// profile functions keep what they read of a file by its name.
std::wstring CopyPath(const std::wstring& iniPath) {
  static unsigned serial = 0;
  return iniPath + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) + L".tmp";
}

}  // namespace

std::wstring IniLockKey(const std::wstring& iniPath) { return L"ini:" + iniPath; }

IniKeys ReadSection(const std::wstring& iniPath, const wchar_t* section) {
  std::vector<wchar_t> buffer(32768);
  DWORD length = 0;
  while ((length = GetPrivateProfileSectionW(section, buffer.data(), static_cast<DWORD>(buffer.size()),
                                             iniPath.c_str())) >= buffer.size() - 2 &&
         buffer.size() < (1u << 24)) {
    buffer.resize(buffer.size() * 2);
  }
  IniKeys keys;
  for (const wchar_t* line = buffer.data(); line < buffer.data() + length && *line; line += wcslen(line) + 1) {
    const std::wstring text = line;
    const size_t equals = text.find(L'=');
    if (equals == std::wstring::npos) continue;
    keys.emplace_back(Trimmed(text.substr(0, equals)), Trimmed(text.substr(equals + 1)));
  }
  return keys;
}

const std::wstring* FindValue(const IniKeys& keys, const wchar_t* key) {
  for (const auto& [name, value] : keys) {
    if (CompareStringOrdinal(name.c_str(), -1, key, -1, TRUE) == CSTR_EQUAL) return &value;
  }
  return nullptr;
}

std::wstring* FindValue(IniKeys& keys, const wchar_t* key) {
  return const_cast<std::wstring*>(FindValue(static_cast<const IniKeys&>(keys), key));
}

bool WriteIniKeys(const std::wstring& iniPath, const wchar_t* section, const IniKeys& keys) {
  // Waited for a while; a lock that never comes (a writer that hangs) does not cost the settings.
  const NamedLock lock(IniLockKey(iniPath), kIniLockWaitMs);
  const IniKeys current = ReadSection(iniPath, section);
  IniKeys changed;
  for (const auto& [key, value] : keys) {
    const std::wstring* stored = FindValue(current, key.c_str());
    if (!stored || *stored != value) changed.emplace_back(key, value);
  }
  if (changed.empty()) return true;
  const std::wstring copy = CopyPath(iniPath);
  const bool exists = GetFileAttributesW(iniPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  if ((!exists || CopyFileW(iniPath.c_str(), copy.c_str(), FALSE)) && WriteKeys(copy, section, changed)) {
    // A read-only file is not replaced: what happens to it is left to the profile functions, as before.
    const DWORD attributes = exists ? GetFileAttributesW(iniPath.c_str()) : 0;
    if (!(attributes & FILE_ATTRIBUTE_READONLY) &&
        MoveFileExW(copy.c_str(), iniPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
  }
  DeleteFileW(copy.c_str());
  return WriteKeys(iniPath, section, changed);
}

}  // namespace korval
