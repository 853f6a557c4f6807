// The one door of the engine to the disk. Every rename, delete, attribute and time change and every
// existence question goes through it, so tests can make any single call fail and prove that no file
// is lost. Calls report failure like Win32 does: a false (or invalid) result and GetLastError().
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/volume_kinds.h"

namespace korval {

// A file written line by line whose every append has reached the disk when Append returns, so a
// crash or a power loss never loses what was written before it.
class AppendFile {
 public:
  virtual ~AppendFile() = default;
  virtual bool Append(const void* data, size_t size) = 0;
  // Cuts the last size bytes off the end again (a line whose change did not happen).
  virtual bool TakeBack(size_t size) = 0;
};

// What tells that the entries of a folder changed, taken without keeping the folder open: the
// folder's last-write time, which the system moves whenever an entry is created, deleted or renamed
// in it, and the folder's identity on its volume, which tells a folder replaced under the same name.
// A quick stamp has the time alone (identified is false).
// Which file or folder a path reaches on its volume, whatever the path's spelling or the links on it.
struct FileIdentity {
  DWORD volume = 0;
  ULONGLONG index = 0;
  bool operator==(const FileIdentity& other) const { return volume == other.volume && index == other.index; }
};

struct FolderStamp {
  FILETIME lastWrite{};
  DWORD volume = 0;
  ULONGLONG index = 0;
  bool identified = false;
  bool SameTime(const FolderStamp& other) const {
    return lastWrite.dwLowDateTime == other.lastWrite.dwLowDateTime &&
           lastWrite.dwHighDateTime == other.lastWrite.dwHighDateTime && volume == other.volume;
  }
  bool operator==(const FolderStamp& other) const {
    return SameTime(other) && identified == other.identified && index == other.index;
  }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Renames without ever replacing an existing file (MoveFileW semantics).
  virtual bool Move(const wchar_t* from, const wchar_t* to) = 0;
  virtual bool Delete(const wchar_t* path) = 0;
  // INVALID_FILE_ATTRIBUTES when the path cannot be read.
  virtual DWORD GetAttributes(const wchar_t* path) = 0;
  virtual bool SetAttributes(const wchar_t* path, DWORD attributes) = 0;
  // Files and folders alike (folders are opened with backup semantics). Null pointers are skipped.
  virtual bool GetTimes(const wchar_t* path, FILETIME* creation, FILETIME* access, FILETIME* write) = 0;
  virtual bool SetTimes(const wchar_t* path, const FILETIME* creation, const FILETIME* access,
                        const FILETIME* write) = 0;
  // A find-first lookup: true when a file or folder matches the path, with its directory entry.
  virtual bool Find(const wchar_t* path, WIN32_FIND_DATAW* found) = 0;
  // The short (8.3) form of an existing path, as GetShortPathNameW gives it.
  virtual bool ShortPath(const wchar_t* path, std::wstring& shortPath) = 0;
  // Every entry of a folder (folder ends with a backslash), "." and ".." left out.
  virtual bool ListFolder(const wchar_t* folder, const std::function<void(const WIN32_FIND_DATAW&)>& each) = 0;
  // The entries of a folder whose names may match mask (the wildcards of a find-first lookup, letter
  // case ignored): one scan of the folder that hands over only the few candidates. Callers check each
  // name themselves; the default hands over every entry.
  virtual bool ListMatching(const wchar_t* folder, const wchar_t* mask,
                            const std::function<void(const WIN32_FIND_DATAW&)>& each) {
    (void)mask;
    return ListFolder(folder, each);
  }
  // The file-system name ("NTFS", "FAT32", "CDFS" ...) of the volume whose root (such as "C:\") is given.
  // Not pure, so that doubles written before it keep compiling; they answer "not supported".
  // Creates the file (replacing one that exists) for appending; null on failure.
  virtual std::unique_ptr<AppendFile> CreateAppendFile(const wchar_t* path) = 0;
  virtual bool VolumeFileSystemName(const wchar_t* root, std::wstring& name) {
    (void)root;
    name.clear();
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
  }
  // Whether a lookup (Find) is answered from memory, with no disk access: then existence questions ask
  // it directly instead of listing folders first.
  virtual bool AnswersFromMemory() const { return false; }
  // The stamp of folder (ending with a backslash) as it is now; false where it cannot be taken or
  // cannot be trusted (a volume whose folders keep no last-write time of their entries). The folder
  // is open only for the moment of the call. Not pure, like the one above: doubles give none.
  virtual bool StampFolder(const wchar_t* folder, FolderStamp& stamp) {
    (void)folder;
    stamp = {};
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
  }
  // The stamp's time alone, asked for by path with no handle opened: a tenth of the whole stamp's
  // cost, for the folders of a read (the identity is added at the first comparison). The same as
  // the whole stamp where no cheaper question exists, and for a folder reached through a link
  // (junction, symbolic link, mount point), whose stamps are always its target's.
  virtual bool QuickStampFolder(const wchar_t* folder, FolderStamp& stamp) { return StampFolder(folder, stamp); }
  // The identity of the folder a path reaches (through a link: its target's); false where it cannot
  // be asked. Not pure, like the one above: doubles give none.
  virtual bool FolderIdentity(const wchar_t* folder, FileIdentity& identity) {
    (void)folder;
    identity = {};
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
  }
  // Whether folder lies on a network drive or share, where a question may wait for a server.
  // Asks no server. The default knows shares by their paths alone.
  virtual bool OnNetwork(const wchar_t* folder) { return IsUncPath(folder); }
  // At most maxBytes from the start of a file, opened with the given share mode (FILE_SHARE_READ
  // keeps a file that is open for writing elsewhere unreadable). Not pure, like the one above.
  virtual bool ReadHead(const wchar_t* path, size_t maxBytes, DWORD share, std::vector<unsigned char>& bytes) {
    (void)path, (void)maxBytes, (void)share;
    bytes.clear();
    SetLastError(ERROR_NOT_SUPPORTED);
    return false;
  }
};

class Win32FileSystem final : public FileSystem {
 public:
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
  bool ListMatching(const wchar_t* folder, const wchar_t* mask,
                    const std::function<void(const WIN32_FIND_DATAW&)>& each) override;
  bool VolumeFileSystemName(const wchar_t* root, std::wstring& name) override;
  std::unique_ptr<AppendFile> CreateAppendFile(const wchar_t* path) override;
  bool ReadHead(const wchar_t* path, size_t maxBytes, DWORD share, std::vector<unsigned char>& bytes) override;
  bool StampFolder(const wchar_t* folder, FolderStamp& stamp) override;
  bool QuickStampFolder(const wchar_t* folder, FolderStamp& stamp) override;
  bool FolderIdentity(const wchar_t* folder, FileIdentity& identity) override;
  bool OnNetwork(const wchar_t* folder) override;

 private:
  // The folder's volume when its folders can be stamped; else the stamp is cleared and null returned.
  const VolumeKind* StampingVolume(const wchar_t* folder, FolderStamp& stamp);
  VolumeKinds volumes_;
};

// The file system the program uses unless a caller passes another.
FileSystem& SystemFileSystem();

}  // namespace korval
