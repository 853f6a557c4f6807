// Test double of the file-system seam: passes every call to a real file system (so tests work on
// real files), records the calls, and makes chosen calls fail with a chosen Win32 error.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace korval {

enum class FsCall { Move, Delete, GetAttributes, SetAttributes, GetTimes, SetTimes, Find, ShortPath, ListFolder,
                    VolumeFileSystemName, CreateAppendFile, Append, TakeBack, ReadHead };

struct FsCallRecord {
  FsCall call;
  std::wstring path;
  std::wstring target;  // the new name of a Move
  bool failed;
};

class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& real = SystemFileSystem()) : real_(real) {}

  // The nth call (from 1) of that kind fails with the error, without reaching the real file system.
  void FailNth(FsCall call, int nth, DWORD error);
  // Every call for which the predicate holds fails with the error.
  void FailWhen(std::function<bool(const FsCallRecord&)> predicate, DWORD error);

  int CountOf(FsCall call) const;
  // Used by the append files this double hands out.
  bool InterceptAppend(const std::wstring& path, FsCall call = FsCall::Append);

  bool Move(const wchar_t* from, const wchar_t* to) override;
  bool Delete(const wchar_t* path) override;
  DWORD GetAttributes(const wchar_t* path) override;
  bool SetAttributes(const wchar_t* path, DWORD attributes) override;
  bool GetTimes(const wchar_t* path, FILETIME* creation, FILETIME* access, FILETIME* write) override;
  bool SetTimes(const wchar_t* path, const FILETIME* creation, const FILETIME* access,
                const FILETIME* write) override;
  bool Find(const wchar_t* path, WIN32_FIND_DATAW* found) override;
  bool ShortPath(const wchar_t* path, std::wstring& shortPath) override;
  bool ListFolder(const wchar_t* folder, const std::function<void(const WIN32_FIND_DATAW&)>& each) override;
  // Counted as a ListFolder call.
  bool ListMatching(const wchar_t* folder, const wchar_t* mask,
                    const std::function<void(const WIN32_FIND_DATAW&)>& each) override;
  bool VolumeFileSystemName(const wchar_t* root, std::wstring& name) override;
  // The appends of the file it returns count as calls too (FsCall::Append, the path of the file).
  std::unique_ptr<AppendFile> CreateAppendFile(const wchar_t* path) override;
  bool ReadHead(const wchar_t* path, size_t maxBytes, DWORD share, std::vector<unsigned char>& bytes) override;

  std::vector<FsCallRecord> calls;

 private:
  struct Fault {
    FsCall call;
    int nth;  // 0 when the predicate decides
    std::function<bool(const FsCallRecord&)> predicate;
    DWORD error;
  };
  // Records the call; returns true (with the error set) when it must fail.
  bool Intercept(FsCall call, const wchar_t* path, const wchar_t* target = nullptr);

  FileSystem& real_;
  std::vector<Fault> faults_;
};

}  // namespace korval
