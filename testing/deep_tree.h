// Test helper for long paths: folders nested under a base until the folder's path is as long as
// asked, each made through "\\?\" so that no limit of ordinary paths stands in the way.
#pragma once

#include <windows.h>

#include <string>

#include "platform/system_path.h"

namespace korval {

// The folder (ending with a backslash) of exactly `length` characters below base (which ends with a
// backslash), its parts `partChars` long (the last one shorter) and filled with `fill`; empty when a
// part cannot be made.
inline std::wstring MakeDeepFolder(const std::wstring& base, size_t length, wchar_t fill, size_t partChars) {
  std::wstring folder = base;
  for (int part = 0; folder.size() < length; ++part) {
    const size_t room = length - folder.size() - 1;  // the part and its backslash
    if (room < 2) {
      folder += std::wstring(length - folder.size() - 1, fill) + L'\\';
    } else {
      std::wstring name = std::to_wstring(part % 10) + std::wstring(std::min(partChars, room) - 1, fill);
      folder += name + L'\\';
    }
    if (!CreateDirectoryW(SystemPath(folder.c_str()).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return {};
    }
  }
  return folder;
}

// Whether something is at the path, however long.
inline bool ExistsAt(const std::wstring& path) {
  return GetFileAttributesW(SystemPath(path.c_str()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Makes an empty file at the path, however long; false when it is there already or cannot be made.
inline bool MakeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(SystemPath(path.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace korval
