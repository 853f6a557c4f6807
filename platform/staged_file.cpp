// The staged file: checked at the start, written through a temporary file beside it at the end.
#include "platform/staged_file.h"

#include <windows.h>

#include <vector>

#include "platform/read_file.h"
#include "platform/scoped_handle.h"
#include "platform/write_file.h"

namespace korval {
namespace {

bool Fail(DWORD error) {
  SetLastError(error);
  return false;
}

// A temporary file in folder, created empty; its path, or an empty string (GetLastError says why).
std::wstring NewTempFile(const std::wstring& folder) {
  wchar_t temp[MAX_PATH];
  if (folder.size() >= MAX_PATH - 14) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return {};
  }
  if (!GetTempFileNameW(folder.c_str(), L"krv", 0, temp)) return {};
  return temp;
}

// The identity of the file at path on its volume (serial and index), or 0 when it cannot be opened.
unsigned long long FileIdentity(const std::wstring& path) {
  ScopedFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.Get(), &info)) return 0;
  const unsigned long long index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return index ^ (static_cast<unsigned long long>(info.dwVolumeSerialNumber) << 40) ^ info.dwVolumeSerialNumber;
}

}  // namespace

bool FileBeginsWith(const std::wstring& path, std::string_view head) {
  std::vector<unsigned char> bytes;
  if (!ReadFileHead(path, head.size(), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, bytes)) return false;
  return bytes.size() == head.size() && std::equal(bytes.begin(), bytes.end(), head.begin(), head.end(), [](unsigned char a, char b) {
           return a == static_cast<unsigned char>(b);
         });
}

bool StagedFile::Open(const std::wstring& path, std::string_view ownHead) {
  target_.clear();
  folder_.clear();
  ownHead_.assign(ownHead);
  hadEarlier_ = false;
  earlierId_ = 0;
  if (path.empty()) return Fail(ERROR_INVALID_NAME);
  std::vector<wchar_t> full(MAX_PATH * 4);
  wchar_t* namePart = nullptr;
  const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
  if (length == 0 || length >= full.size() || !namePart || !*namePart) return Fail(ERROR_INVALID_NAME);
  const std::wstring target(full.data(), length);
  const std::wstring folder(full.data(), namePart);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    // A folder or a read-only file would refuse the rename at the end, after the run; a file of the
    // user's is never replaced by the job's record.
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return Fail(ERROR_ACCESS_DENIED);
    if (!FileBeginsWith(target, ownHead)) return Fail(ERROR_FILE_EXISTS);
    ScopedFile existing(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing) return false;
    hadEarlier_ = true;
    earlierId_ = FileIdentity(target);
  }
  // The folder must take a new file; the probe goes at once, so the job never reads it.
  const std::wstring probe = NewTempFile(folder);
  if (probe.empty()) return false;
  DeleteFileW(probe.c_str());
  target_ = target;
  folder_ = folder;
  return true;
}

bool StagedFile::Commit(std::string_view bytes) {
  if (target_.empty()) return Fail(ERROR_INVALID_HANDLE);
  const std::wstring temp = NewTempFile(folder_);
  if (temp.empty()) return false;
  bool written = false;
  {
    ScopedFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    written = file && WriteAllBytes(file.Get(), bytes) && FlushFileBuffers(file.Get());
  }
  DWORD error = written ? ERROR_SUCCESS : GetLastError();
  if (written) {
    // Whatever stands at the target now (a file renamed there meanwhile, a folder) is only replaced
    // when it is the job's own earlier file found at Open; a new target is taken only while it is free.
    const DWORD attributes = GetFileAttributesW(target_.c_str());
    DWORD flags = MOVEFILE_WRITE_THROUGH;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      const bool sameEarlier = hadEarlier_ && earlierId_ != 0 && FileIdentity(target_) == earlierId_;
      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !sameEarlier || !FileBeginsWith(target_, ownHead_)) {
        error = ERROR_FILE_EXISTS;
      } else {
        flags |= MOVEFILE_REPLACE_EXISTING;
      }
    }
    if (error == ERROR_SUCCESS) {
      if (MoveFileExW(temp.c_str(), target_.c_str(), flags)) return true;
      error = GetLastError();
    }
  }
  DeleteFileW(temp.c_str());
  return Fail(error);
}

std::wstring WriteNewFile(const std::wstring& folder, const std::wstring& stem, const std::wstring& extension,
                          std::string_view bytes) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  for (int n = 0; n < 1000; ++n) {
    const std::wstring path = base + stem + (n ? L"(" + std::to_wstring(n) + L")" : L"") + extension;
    ScopedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      return {};
    }
    const bool written = WriteAllBytes(file.Get(), bytes) && FlushFileBuffers(file.Get());
    file.Reset();
    if (written) return path;
    DeleteFileW(path.c_str());
    return {};
  }
  return {};
}

}  // namespace korval
