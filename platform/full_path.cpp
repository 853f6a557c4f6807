// Making paths full and spelling their existing folders long.
#include "platform/full_path.h"

#include <windows.h>

namespace korval {
namespace {

// Calls a Win32 function that fills a buffer and returns the length, or the size it needs.
template <typename Fill>
std::wstring Filled(Fill fill) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(length + 1, L'\0');
  }
  return {};
}

std::wstring LongSpelling(const std::wstring& path) {
  // Some systems' long-name lookup works in a buffer of MAX_PATH and fails badly on longer ordinary
  // paths (under Wine it reads past its buffer): a longer drive path is looked up in its "\\?\"
  // form; a longer share path keeps its spelling.
  if (path.size() < MAX_PATH) {
    return Filled([&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(path.c_str(), buffer, size); });
  }
  if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return {};
  const std::wstring verbatim = L"\\\\?\\" + path;
  const std::wstring spelled =
      Filled([&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(verbatim.c_str(), buffer, size); });
  if (spelled.size() <= 4 || spelled.compare(0, 4, verbatim, 0, 4) != 0) return {};
  return spelled.substr(4);
}

}  // namespace

bool IsFullPath(const std::wstring& path) {
  const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
                     ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  return drive || (path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\');
}

std::wstring FullPath(const std::wstring& path) {
  if (path.empty() || path.find(L'\0') != std::wstring::npos) return {};
  std::wstring full =
      Filled([&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(path.c_str(), size, buffer, nullptr); });
  if (full.empty()) return {};
  // The longest part that exists is spelled long; what follows it (a file still to be made) as given.
  size_t existingEnd = full.size();
  while (existingEnd > 0) {
    const std::wstring head = full.substr(0, existingEnd);
    std::wstring spelled = LongSpelling(head);
    if (!spelled.empty()) return spelled + full.substr(existingEnd);
    const size_t slash = full.find_last_of(L'\\', existingEnd - 1);
    if (slash == std::wstring::npos || slash < 3) break;
    existingEnd = slash;
  }
  return full;
}

}  // namespace korval
