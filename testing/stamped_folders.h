// Test double of folders and their stamps, held in memory: each folder's names, the time its stamps
// give (the quick stamp and the whole one each as the test says, as a link's own time and its
// target's differ), how long a whole stamp takes, and which folders lie on the network. It counts
// what is asked.
#pragma once

#include <windows.h>

#include <chrono>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "testing/refusing_file_system.h"

namespace korval {

class StampedFolders final : public RefusingFileSystem {
 public:
  struct Folder {
    std::vector<std::wstring> names;
    FILETIME quickTime{};
    FILETIME wholeTime{};
  };

  // A file time this many seconds from now (negative: before now).
  static FILETIME SecondsFromNow(double seconds) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart = static_cast<ULONGLONG>(static_cast<LONGLONG>(t.QuadPart) + static_cast<LONGLONG>(seconds * 1e7));
    return FILETIME{t.LowPart, t.HighPart};
  }

  // A folder (ending with a backslash) whose two stamps give the same time.
  Folder& Add(const std::wstring& path, FILETIME time, std::vector<std::wstring> names = {}) {
    Folder& folder = folders[path];
    folder.names = std::move(names);
    folder.quickTime = folder.wholeTime = time;
    return folder;
  }

  DWORD GetAttributes(const wchar_t* path) override {
    std::wstring folder = path;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folders.count(folder) ? FILE_ATTRIBUTE_DIRECTORY : INVALID_FILE_ATTRIBUTES;
  }
  bool ListFolder(const wchar_t* path, const std::function<void(const WIN32_FIND_DATAW&)>& each) override {
    ++listings;
    const auto found = folders.find(path);
    if (found == folders.end()) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return false;
    }
    for (const std::wstring& name : found->second.names) {
      WIN32_FIND_DATAW entry{};
      wcsncpy(entry.cFileName, name.c_str(), MAX_PATH - 1);
      each(entry);
    }
    return true;
  }
  bool StampFolder(const wchar_t* path, FolderStamp& stamp) override {
    ++wholeStamps;
    asked.push_back(path);
    if (wholeStampTakes.count() > 0) std::this_thread::sleep_for(wholeStampTakes);
    return Stamp(path, stamp, true);
  }
  bool QuickStampFolder(const wchar_t* path, FolderStamp& stamp) override { return Stamp(path, stamp, false); }
  bool OnNetwork(const wchar_t* path) override { return network.count(path) > 0; }

  std::map<std::wstring, Folder> folders;
  std::set<std::wstring> network;
  std::chrono::milliseconds wholeStampTakes{0};
  int listings = 0;
  int wholeStamps = 0;
  std::vector<std::wstring> asked;  // the folders whose whole stamps were asked, in order

 private:
  bool Stamp(const wchar_t* path, FolderStamp& stamp, bool whole) {
    stamp = {};
    const auto found = folders.find(path);
    if (found == folders.end()) return false;
    stamp.lastWrite = whole ? found->second.wholeTime : found->second.quickTime;
    stamp.volume = 1;
    if (whole) {
      stamp.index = 1;
      stamp.identified = true;
    }
    return true;
  }
};

}  // namespace korval
