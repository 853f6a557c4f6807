// Test double of the file-system seam that keeps items in memory and behaves as Windows does where
// Wine does not: creation times can be set, the archive attribute can be cleared, and a read-only
// file refuses a time change (Windows opens it for writing; Wine as root does not refuse).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/file_times.h"
#include "testing/refusing_file_system.h"

namespace korval {

class MemoryFileSystem final : public RefusingFileSystem {
 public:
  struct Item {
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    FILETIME creation{}, modification{};
  };
  struct SetTimesCall {
    bool creation, modification;
  };

  Item& AddFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
    return items[path] = Item{attributes, {}, {}};
  }

  DWORD GetAttributes(const wchar_t* path) override {
    const Item* item = Lookup(path);
    if (item) return item->attributes != 0 ? item->attributes : FILE_ATTRIBUTE_NORMAL;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  bool SetAttributes(const wchar_t* path, DWORD attributes) override {
    Item* item = Lookup(path);
    if (!item) return Fail(ERROR_FILE_NOT_FOUND);
    attributesWritten.push_back(attributes);
    item->attributes = (item->attributes & FILE_ATTRIBUTE_DIRECTORY) |
                       (attributes & ~(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY));
    return true;
  }
  bool GetTimes(const wchar_t* path, FILETIME* creation, FILETIME*, FILETIME* write) override {
    const Item* item = Lookup(path);
    if (!item) return Fail(ERROR_FILE_NOT_FOUND);
    if (creation) *creation = item->creation;
    if (write) *write = item->modification;
    return true;
  }
  bool SetTimes(const wchar_t* path, const FILETIME* creation, const FILETIME*, const FILETIME* write) override {
    Item* item = Lookup(path);
    if (!item) return Fail(ERROR_FILE_NOT_FOUND);
    setTimesCalls.push_back({creation != nullptr, write != nullptr});
    if ((item->attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == FILE_ATTRIBUTE_READONLY) {
      return Fail(ERROR_ACCESS_DENIED);
    }
    if (creation) item->creation = *creation;
    if (write) item->modification = *write;
    return true;
  }
  bool Find(const wchar_t* path, WIN32_FIND_DATAW*) override { return Lookup(path) || Fail(ERROR_FILE_NOT_FOUND); }
  bool ListFolder(const wchar_t*, const std::function<void(const WIN32_FIND_DATAW&)>&) override {
    return Fail(ERROR_CALL_NOT_IMPLEMENTED);
  }
  bool VolumeFileSystemName(const wchar_t* root, std::wstring& name) override {
    volumeRoots.push_back(root);
    name = volumeName;
    return !volumeName.empty() || Fail(ERROR_NOT_READY);
  }

  std::map<std::wstring, Item> items;
  std::wstring volumeName = L"NTFS";  // empty: the volume cannot be asked
  std::vector<std::wstring> volumeRoots;
  std::vector<DWORD> attributesWritten;
  std::vector<SetTimesCall> setTimesCalls;

 private:
  Item* Lookup(const wchar_t* path) {
    auto it = items.find(path);
    return it == items.end() ? nullptr : &it->second;
  }
  static bool Fail(DWORD error) {
    SetLastError(error);
    return false;
  }
};

// A local calendar value as a file time (UTC).
inline FILETIME LocalFileTime(int year, int month, int day, int hour, int minute, int second) {
  const SYSTEMTIME local{static_cast<WORD>(year), static_cast<WORD>(month), 0, static_cast<WORD>(day),
                         static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second), 0};
  FILETIME utc{};
  LocalCalendarToFileTime(local, utc);
  return utc;
}

inline bool SameFileTime(const FILETIME& a, const FILETIME& b) {
  return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace korval
