// Fault injection for the file-system seam.
#include "testing/faulty_file_system.h"

#include <algorithm>

namespace korval {

void FaultyFileSystem::FailNth(FsCall call, int nth, DWORD error) { faults_.push_back({call, nth, {}, error}); }

void FaultyFileSystem::FailWhen(std::function<bool(const FsCallRecord&)> predicate, DWORD error) {
  faults_.push_back({FsCall::Move, 0, std::move(predicate), error});
}

int FaultyFileSystem::CountOf(FsCall call) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const FsCallRecord& r) { return r.call == call; }));
}

bool FaultyFileSystem::Intercept(FsCall call, const wchar_t* path, const wchar_t* target) {
  FsCallRecord record{call, path ? path : L"", target ? target : L"", false};
  calls.push_back(record);
  const int nth = CountOf(call);
  for (const Fault& fault : faults_) {
    const bool hit = fault.predicate ? fault.predicate(record) : (fault.call == call && fault.nth == nth);
    if (hit) {
      calls.back().failed = true;
      SetLastError(fault.error);
      return true;
    }
  }
  return false;
}

bool FaultyFileSystem::Move(const wchar_t* from, const wchar_t* to) {
  return !Intercept(FsCall::Move, from, to) && real_.Move(from, to);
}

bool FaultyFileSystem::Delete(const wchar_t* path) { return !Intercept(FsCall::Delete, path) && real_.Delete(path); }

DWORD FaultyFileSystem::GetAttributes(const wchar_t* path) {
  return Intercept(FsCall::GetAttributes, path) ? INVALID_FILE_ATTRIBUTES : real_.GetAttributes(path);
}

bool FaultyFileSystem::SetAttributes(const wchar_t* path, DWORD attributes) {
  return !Intercept(FsCall::SetAttributes, path) && real_.SetAttributes(path, attributes);
}

bool FaultyFileSystem::GetTimes(const wchar_t* path, FILETIME* creation, FILETIME* access, FILETIME* write) {
  return !Intercept(FsCall::GetTimes, path) && real_.GetTimes(path, creation, access, write);
}

bool FaultyFileSystem::SetTimes(const wchar_t* path, const FILETIME* creation, const FILETIME* access,
                                const FILETIME* write) {
  return !Intercept(FsCall::SetTimes, path) && real_.SetTimes(path, creation, access, write);
}

bool FaultyFileSystem::Find(const wchar_t* path, WIN32_FIND_DATAW* found) {
  return !Intercept(FsCall::Find, path) && real_.Find(path, found);
}

bool FaultyFileSystem::ShortPath(const wchar_t* path, std::wstring& shortPath) {
  return !Intercept(FsCall::ShortPath, path) && real_.ShortPath(path, shortPath);
}

bool FaultyFileSystem::ListFolder(const wchar_t* folder, const std::function<void(const WIN32_FIND_DATAW&)>& each) {
  return !Intercept(FsCall::ListFolder, folder) && real_.ListFolder(folder, each);
}

bool FaultyFileSystem::ListMatching(const wchar_t* folder, const wchar_t* mask,
                                    const std::function<void(const WIN32_FIND_DATAW&)>& each) {
  return !Intercept(FsCall::ListFolder, folder) && real_.ListMatching(folder, mask, each);
}

bool FaultyFileSystem::VolumeFileSystemName(const wchar_t* root, std::wstring& name) {
  if (Intercept(FsCall::VolumeFileSystemName, root)) {
    name.clear();
    return false;
  }
  return real_.VolumeFileSystemName(root, name);
}

bool FaultyFileSystem::ReadHead(const wchar_t* path, size_t maxBytes, DWORD share, std::vector<unsigned char>& bytes) {
  if (Intercept(FsCall::ReadHead, path)) {
    bytes.clear();
    return false;
  }
  return real_.ReadHead(path, maxBytes, share, bytes);
}

namespace {

class FaultyAppendFile final : public AppendFile {
 public:
  FaultyAppendFile(FaultyFileSystem& owner, std::wstring path, std::unique_ptr<AppendFile> real)
      : owner_(owner), path_(std::move(path)), real_(std::move(real)) {}
  bool Append(const void* data, size_t size) override {
    return !owner_.InterceptAppend(path_) && real_->Append(data, size);
  }
  bool TakeBack(size_t size) override {
    return !owner_.InterceptAppend(path_, FsCall::TakeBack) && real_->TakeBack(size);
  }

 private:
  FaultyFileSystem& owner_;
  std::wstring path_;
  std::unique_ptr<AppendFile> real_;
};

}  // namespace

bool FaultyFileSystem::InterceptAppend(const std::wstring& path, FsCall call) { return Intercept(call, path.c_str()); }

std::unique_ptr<AppendFile> FaultyFileSystem::CreateAppendFile(const wchar_t* path) {
  if (Intercept(FsCall::CreateAppendFile, path)) return nullptr;
  std::unique_ptr<AppendFile> real = real_.CreateAppendFile(path);
  if (!real) return nullptr;
  return std::make_unique<FaultyAppendFile>(*this, path, std::move(real));
}

}  // namespace korval
