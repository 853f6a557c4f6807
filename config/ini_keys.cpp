// Reading the settings' section and writing its keys through a replacement of the whole file.
#include "config/ini_keys.h"

#include <windows.h>

#include <cwchar>
#include <string_view>

#include "platform/ansi_escape.h"
#include "platform/named_lock.h"
#include "platform/read_file.h"

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

// The text of a file as the profile functions read it: UTF-16 behind its byte order mark, UTF-8
// behind its own, else the ANSI code page.
std::wstring FileText(const std::vector<unsigned char>& bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<wchar_t>(bytes[2 + 2 * i] | (bytes[3 + 2 * i] << 8));
    return text;
  }
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (raw.starts_with("\xEF\xBB\xBF")) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, raw.data() + 3, static_cast<int>(raw.size() - 3), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, raw.data() + 3, static_cast<int>(raw.size() - 3), text.data(), length);
    return text;
  }
  return FromAnsiPlain(raw);
}

// The keys of the section in the file's own bytes, read past any cache of the profile functions.
IniKeys SectionOnDisk(const std::wstring& path, const wchar_t* section) {
  std::vector<unsigned char> bytes;
  IniKeys keys;
  if (!ReadFileHead(path, size_t(1) << 26, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, bytes)) return keys;
  const std::wstring text = FileText(bytes);
  bool inSection = false;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.front() == L'[') {
      const size_t close = line.find(L']');
      const std::wstring name = Trimmed(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
      inSection = CompareStringOrdinal(name.c_str(), -1, section, -1, TRUE) == CSTR_EQUAL;
      continue;
    }
    const size_t equals = line.find(L'=');
    if (inSection && equals != std::wstring::npos) {
      keys.emplace_back(Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)));
    }
  }
  return keys;
}

// Whether the copy holds the whole section: every key the file had, with its value or the new one,
// and every key written. A copy cut short by a full disk misses the keys after the cut.
bool CopyIsWhole(const std::wstring& copy, const wchar_t* section, const IniKeys& before, const IniKeys& written) {
  const IniKeys onDisk = SectionOnDisk(copy, section);
  auto holds = [&onDisk](const std::wstring& key, const std::wstring& value) {
    const std::wstring* found = FindValue(onDisk, key.c_str());
    return found && *found == value;
  };
  for (const auto& [key, value] : written) {
    if (!holds(key, value)) return false;
  }
  for (const auto& [key, value] : before) {
    // A key given twice is read, from either, as its first.
    if (FindValue(before, key.c_str()) != &value || FindValue(written, key.c_str())) continue;
    if (!holds(key, value)) return false;
  }
  return true;
}

}  // namespace

const IniFileSteps& SystemIniFileSteps() {
  static const IniFileSteps steps{
      [](const std::wstring& from, const std::wstring& to) { return CopyFileW(from.c_str(), to.c_str(), FALSE) != 0; },
      WriteKeys,
      [](const std::wstring& from, const std::wstring& to) {
        return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
      },
  };
  return steps;
}

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

bool WriteIniKeys(const std::wstring& iniPath, const wchar_t* section, const IniKeys& keys,
                  const IniFileSteps& steps) {
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
  const bool whole = (!exists || steps.copy(iniPath, copy)) && steps.writeKeys(copy, section, changed) &&
                     CopyIsWhole(copy, section, current, changed);
  if (whole) {
    // A read-only file is not replaced: what happens to it is left to the profile functions, as before.
    const DWORD attributes = exists ? GetFileAttributesW(iniPath.c_str()) : 0;
    if (!(attributes & FILE_ATTRIBUTE_READONLY) && steps.replace(copy, iniPath)) return true;
  }
  DeleteFileW(copy.c_str());
  // The profile functions rewrite a file in place; a disk that had no room for a whole copy would
  // leave it cut short.
  if (exists && !whole) return false;
  return steps.writeKeys(iniPath, section, changed);
}

}  // namespace korval
