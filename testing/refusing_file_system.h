// Base of small file-system doubles in tests: every call fails with a chosen error until a double
// overrides the calls it answers.
#pragma once

#include "platform/file_system.h"

namespace korval {

class RefusingFileSystem : public FileSystem {
 public:
  explicit RefusingFileSystem(DWORD error = ERROR_CALL_NOT_IMPLEMENTED) : error_(error) {}

  bool Move(const wchar_t*, const wchar_t*) override { return Refuse(); }
  bool Delete(const wchar_t*) override { return Refuse(); }
  DWORD GetAttributes(const wchar_t*) override {
    Refuse();
    return INVALID_FILE_ATTRIBUTES;
  }
  bool SetAttributes(const wchar_t*, DWORD) override { return Refuse(); }
  bool GetTimes(const wchar_t*, FILETIME*, FILETIME*, FILETIME*) override { return Refuse(); }
  bool SetTimes(const wchar_t*, const FILETIME*, const FILETIME*, const FILETIME*) override { return Refuse(); }
  bool Find(const wchar_t*, WIN32_FIND_DATAW*) override { return Refuse(); }
  bool ShortPath(const wchar_t*, std::wstring&) override { return Refuse(); }
  bool ListFolder(const wchar_t*, const std::function<void(const WIN32_FIND_DATAW&)>&) override { return Refuse(); }
  std::unique_ptr<AppendFile> CreateAppendFile(const wchar_t*) override {
    Refuse();
    return nullptr;
  }
  bool VolumeFileSystemName(const wchar_t*, std::wstring&) override { return Refuse(); }

 protected:
  bool Refuse() const {
    SetLastError(error_);
    return false;
  }

 private:
  DWORD error_;
};

}  // namespace korval
