// The staged file: a temporary file beside the target, renamed onto it at the end.
#include "platform/staged_file.h"

#include <vector>

#include "platform/write_file.h"

namespace korval {

StagedFile::~StagedFile() { Discard(); }

void StagedFile::Discard() {
  file_.Reset();
  if (!temp_.empty()) DeleteFileW(temp_.c_str());
  temp_.clear();
}

bool StagedFile::Open(const std::wstring& path) {
  Discard();
  target_.clear();
  if (path.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  std::vector<wchar_t> full(MAX_PATH * 4);
  wchar_t* namePart = nullptr;
  const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &namePart);
  if (length == 0 || length >= full.size() || !namePart || !*namePart) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  target_.assign(full.data(), length);
  const std::wstring folder(full.data(), namePart);
  // An existing target must take the new text: a folder or a read-only file would refuse the
  // rename at the end, after the run.
  const DWORD attributes = GetFileAttributesW(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return false;
    }
    ScopedFile existing(CreateFileW(target_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing) return false;
  }
  wchar_t temp[MAX_PATH];
  if (folder.size() >= MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"krv", 0, temp)) return false;
  temp_ = temp;
  file_.Reset(CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file_) return true;
  const DWORD error = GetLastError();
  Discard();
  SetLastError(error);
  return false;
}

bool StagedFile::Commit(std::string_view bytes) {
  if (!file_) return false;
  const bool written = WriteAllBytes(file_.Get(), bytes) && FlushFileBuffers(file_.Get());
  file_.Reset();
  if (written && MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    temp_.clear();
    return true;
  }
  const DWORD error = GetLastError();
  Discard();
  SetLastError(error);
  return false;
}

}  // namespace korval
