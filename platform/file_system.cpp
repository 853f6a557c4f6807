// The Win32 implementation of the file-system seam.
#include "platform/file_system.h"

#include <winternl.h>

#include "platform/read_file.h"

#include "platform/scoped_handle.h"
#include "platform/system_path.h"

namespace korval {
namespace {

ScopedFile OpenForTimes(const wchar_t* path, DWORD access) {
  // Backup semantics let the same call open folders; sharing everything keeps other readers working.
  return ScopedFile(CreateFileW(SystemPathArg(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

// Every path goes to the system in the form that names exactly the item (platform/system_path.h).
bool Win32FileSystem::Move(const wchar_t* from, const wchar_t* to) {
  return MoveFileW(SystemPathArg(from).c_str(), SystemPathArg(to).c_str()) != FALSE;
}

bool Win32FileSystem::Delete(const wchar_t* path) { return DeleteFileW(SystemPathArg(path).c_str()) != FALSE; }

DWORD Win32FileSystem::GetAttributes(const wchar_t* path) { return GetFileAttributesW(SystemPathArg(path).c_str()); }

bool Win32FileSystem::SetAttributes(const wchar_t* path, DWORD attributes) {
  return SetFileAttributesW(SystemPathArg(path).c_str(), attributes) != FALSE;
}

bool Win32FileSystem::GetTimes(const wchar_t* path, FILETIME* creation, FILETIME* access, FILETIME* write) {
  ScopedFile file = OpenForTimes(path, FILE_READ_ATTRIBUTES);
  if (!file) return false;
  return GetFileTime(file.Get(), creation, access, write) != FALSE;
}

bool Win32FileSystem::SetTimes(const wchar_t* path, const FILETIME* creation, const FILETIME* access,
                               const FILETIME* write) {
  ScopedFile file = OpenForTimes(path, FILE_WRITE_ATTRIBUTES);
  if (!file) return false;
  return SetFileTime(file.Get(), creation, access, write) != FALSE;
}

bool Win32FileSystem::Find(const wchar_t* path, WIN32_FIND_DATAW* found) {
  WIN32_FIND_DATAW data;
  ScopedFind find(FindFirstFileW(SystemPathArg(path).c_str(), &data));
  if (!find) return false;
  if (found) *found = data;
  return true;
}

bool Win32FileSystem::ShortPath(const wchar_t* path, std::wstring& shortPath) {
  const SystemPathArg asked(path);
  std::wstring buffer(MAX_PATH, L'\0');
  DWORD length = GetShortPathNameW(asked.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) {  // a long path's short form: the size it needs
    buffer.assign(length + 1, L'\0');
    length = GetShortPathNameW(asked.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  }
  if (length == 0 || length >= buffer.size()) {
    if (length >= buffer.size()) SetLastError(ERROR_BUFFER_OVERFLOW);
    return false;
  }
  shortPath.assign(buffer.data(), length);
  // A path asked for verbatim comes back with the prefix; callers compare ordinary paths.
  if (asked.Verbatim() && shortPath.rfind(L"\\\\?\\", 0) == 0) {
    shortPath = shortPath.rfind(L"\\\\?\\UNC\\", 0) == 0 ? L"\\\\" + shortPath.substr(8) : shortPath.substr(4);
  }
  return true;
}

bool Win32FileSystem::ListFolder(const wchar_t* folder, const std::function<void(const WIN32_FIND_DATAW&)>& each) {
  return ListMatching(folder, L"*", each);
}

bool Win32FileSystem::ListMatching(const wchar_t* folder, const wchar_t* mask,
                                   const std::function<void(const WIN32_FIND_DATAW&)>& each) {
  WIN32_FIND_DATAW data;
  const std::wstring pattern = std::wstring(folder) + mask;
  ScopedFind find(FindFirstFileExW(SystemPathArg(pattern.c_str()).c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0));
  if (!find) return false;
  do {
    const wchar_t* name = data.cFileName;
    if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
    each(data);
  } while (FindNextFileW(find.Get(), &data));
  return true;
}

bool Win32FileSystem::VolumeFileSystemName(const wchar_t* root, std::wstring& name) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, buffer, MAX_PATH + 1)) {
    name.clear();
    return false;
  }
  name = buffer;
  return true;
}

namespace {

class Win32AppendFile final : public AppendFile {
 public:
  explicit Win32AppendFile(HANDLE file) : file_(file) {}
  bool Append(const void* data, size_t size) override {
    DWORD written = 0;
    return WriteFile(file_.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  }
  bool TakeBack(size_t size) override {
    LARGE_INTEGER back;
    back.QuadPart = -static_cast<LONGLONG>(size);
    return SetFilePointerEx(file_.Get(), back, nullptr, FILE_CURRENT) && SetEndOfFile(file_.Get()) &&
           FlushFileBuffers(file_.Get());
  }

 private:
  ScopedFile file_;
};

}  // namespace

const VolumeKind* Win32FileSystem::StampingVolume(const wchar_t* folder, FolderStamp& stamp) {
  stamp = {};
  const VolumeKind& volume = volumes_.Of(folder);
  if (volume.stampsTell) return &volume;
  SetLastError(ERROR_NOT_SUPPORTED);
  return nullptr;
}

bool Win32FileSystem::OnNetwork(const wchar_t* folder) { return volumes_.Remote(folder); }

bool Win32FileSystem::StampFolder(const wchar_t* folder, FolderStamp& stamp) {
  const VolumeKind* volume = StampingVolume(folder, stamp);
  if (!volume) return false;
  // Open for the moment of the question, sharing everything: a rename of the folder or of its
  // parents by another program is never blocked.
  const ScopedFile handle = OpenForTimes(folder, FILE_READ_ATTRIBUTES);
  if (!handle) return false;
  // The time and the identity are asked for alone: the whole file information also asks for the
  // volume's serial, which costs several times both (a millisecond a folder under Wine), and the
  // volume is known already.
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(handle.Get(), FileBasicInfo, &basic, sizeof(basic))) return false;
  IO_STATUS_BLOCK io{};
  LARGE_INTEGER index{};
  const NTSTATUS status = NtQueryInformationFile(handle.Get(), &io, &index, sizeof(index), FileInternalInformation);
  if (status < 0) {
    SetLastError(RtlNtStatusToDosError(status));
    return false;
  }
  stamp.lastWrite.dwLowDateTime = basic.LastWriteTime.LowPart;
  stamp.lastWrite.dwHighDateTime = static_cast<DWORD>(basic.LastWriteTime.HighPart);
  stamp.volume = volume->serial;
  stamp.index = static_cast<ULONGLONG>(index.QuadPart);
  stamp.identified = true;
  return true;
}

bool Win32FileSystem::FolderIdentity(const wchar_t* folder, FileIdentity& identity) {
  identity = {};
  const ScopedFile handle = OpenForTimes(folder, FILE_READ_ATTRIBUTES);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle || !GetFileInformationByHandle(handle.Get(), &info)) return false;
  identity.volume = info.dwVolumeSerialNumber;
  identity.index = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

bool Win32FileSystem::QuickStampFolder(const wchar_t* folder, FolderStamp& stamp) {
  // Asked by the folder's path without its last backslash, which some systems refuse; a volume's
  // root keeps it and gets the whole stamp.
  std::wstring path = folder;
  if (path.size() > 1 && path.back() == L'\\') path.pop_back();
  if (path.empty() || path.back() == L':' || path.back() == L'\\') return StampFolder(folder, stamp);
  stamp = {};
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_DIRECTORY);
    return false;
  }
  // A link (junction, symbolic link, mount point) answers here with its own time, while the whole
  // stamp and the listing go through it to its target: its stamps are both taken through the link.
  if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return StampFolder(folder, stamp);
  // No link: the folder lies on its parent's volume.
  const VolumeKind& volume = volumes_.Of(folder, true);
  if (!volume.stampsTell) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
  }
  stamp.lastWrite = data.ftLastWriteTime;
  stamp.volume = volume.serial;
  return true;
}

std::unique_ptr<AppendFile> Win32FileSystem::CreateAppendFile(const wchar_t* path) {
  // Write-through: each append is on the disk before the next rename happens.
  HANDLE file = CreateFileW(SystemPathArg(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32AppendFile>(file);
}

bool Win32FileSystem::ReadHead(const wchar_t* path, size_t maxBytes, DWORD share, std::vector<unsigned char>& bytes) {
  return ReadFileHead(SystemPathArg(path).c_str(), maxBytes, share, bytes);
}

FileSystem& SystemFileSystem() {
  static Win32FileSystem system;
  return system;
}

}  // namespace korval
