// Per-test temporary folders on the real (Wine) file system.
#include "testing/temp_folder.h"

#include <algorithm>

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <stdexcept>

#include "platform/scoped_handle.h"
#include "platform/system_path.h"

namespace korval {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    wchar_t name[MAX_PATH];
    _snwprintf(name, MAX_PATH, L"%skvtest_%lu_%d_%d\\", base, GetCurrentProcessId(), counter++, attempt);
    if (CreateDirectoryW(name, nullptr)) {
      path_ = name;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::wstring TempFolder::WriteFile(const std::wstring& name, const std::string& bytes) const {
  const std::wstring path = path_ + name;
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create a test file");
  DWORD written = 0;
  if (!bytes.empty()) ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return path;
}

std::string TempFolder::ReadFile(const std::wstring& name) const {
  // A full path is read as it is; anything else is a name inside the folder.
  const bool full = (name.size() > 1 && name[1] == L':') || name.starts_with(L"\\\\");
  const std::wstring path = full ? name : path_ + name;
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (::ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

bool TempFolder::Exists(const std::wstring& name) const {
  return GetFileAttributesW((path_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> SortedNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  const std::wstring pattern = folder + (!folder.empty() && folder.back() == L'\\' ? L"*" : L"\\*");
  WIN32_FIND_DATAW data;
  ScopedHandle<FindHandleTraits> find(FindFirstFileW(pattern.c_str(), &data));
  if (!find.Valid()) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.Get(), &data));
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::wstring& folder) {
  if (folder.empty()) return;
  std::wstring root = folder;
  if (root.back() != L'\\') root += L'\\';
  WIN32_FIND_DATAW data;
  ScopedFind find(FindFirstFileW(SystemPath((root + L"*").c_str()).c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = root + name;
      const std::wstring reached = SystemPath(path.c_str());  // deep trees too
      SetFileAttributesW(reached.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A folder link goes, not what it leads to.
        if (!RemoveDirectoryW(reached.c_str())) DeleteFileW(reached.c_str());
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(reached.c_str());
      }
    } while (FindNextFileW(find.Get(), &data));
  }
  find.Reset();
  RemoveDirectoryW(SystemPath(root.c_str()).c_str());
}

}  // namespace korval
