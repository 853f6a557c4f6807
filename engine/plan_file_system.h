// A file system that changes nothing: a plan reads, previews and runs the real execution on it.
// Each folder is listed from the disk once, on its first question (the reading of the list, for the
// folders read); renames, deletions, attribute and time changes made
// through it are kept in memory, so that collisions, serials and names freed later in the pass come
// out as the run will meet them, while nothing on the disk is touched.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace korval {

class PlanFileSystem final : public FileSystem {
 public:
  explicit PlanFileSystem(FileSystem& disk = SystemFileSystem()) : disk_(disk) {}

  bool Move(const wchar_t* from, const wchar_t* to) override;
  bool Delete(const wchar_t* path) override;
  DWORD GetAttributes(const wchar_t* path) override;
  bool SetAttributes(const wchar_t* path, DWORD attributes) override;
  bool GetTimes(const wchar_t* path, FILETIME* creation, FILETIME* access, FILETIME* write) override;
  bool SetTimes(const wchar_t* path, const FILETIME* creation, const FILETIME* access, const FILETIME* write) override;
  bool Find(const wchar_t* path, WIN32_FIND_DATAW* found) override;
  bool ShortPath(const wchar_t* path, std::wstring& shortPath) override;
  bool ListFolder(const wchar_t* folder, const std::function<void(const WIN32_FIND_DATAW&)>& each) override;
  // A file written through it goes nowhere.
  std::unique_ptr<AppendFile> CreateAppendFile(const wchar_t* path) override;
  bool VolumeFileSystemName(const wchar_t* root, std::wstring& name) override;
  bool ReadHead(const wchar_t* path, size_t maxBytes, DWORD share, std::vector<unsigned char>& bytes) override;
  bool FolderIdentity(const wchar_t* folder, FileIdentity& identity) override;
  // Once a folder was listed from the disk, the plan answers lookups in it from memory.
  bool AnswersFromMemory() const override { return true; }

 private:
  struct Entry {
    std::wstring name;   // as it is spelled now; empty once the item moved to another folder
    std::wstring alias;  // the 8.3 alias the disk gave it; none once it is renamed
    DWORD attributes = 0;
    DWORD sizeHigh = 0, sizeLow = 0;
    FILETIME creation{}, access{}, write{};
    std::wstring diskName;  // its name on the disk, once the plan renamed it in its folder
    std::wstring diskPath;  // where the item is on the disk, once the plan moved it to another folder
    bool timesSet = false;  // its times are the plan's, not the disk's
  };
  struct Folder {
    bool exists = false;
    std::wstring diskPath;  // where the folder is on the disk, with its backslash
    std::vector<Entry> items;  // in the order the disk listed them, as a reader of the folder sees them
    std::unordered_map<std::wstring, size_t> byKey;  // FileSystemKey of the name -> item
    // Keys that more than one item holds (names that differ only in letter case, in a folder that
    // tells case apart): items under them are found by their exact spelling, as the system finds them.
    std::unordered_set<std::wstring> twinKeys;
    // Key of an 8.3 alias -> key of the name; made on the first question by an alias.
    std::unordered_map<std::wstring, std::wstring> shortNames;
    bool shortNamesMade = false;
  };

  static WIN32_FIND_DATAW FindData(const Entry& entry);
  static std::wstring DiskPathOf(const Folder& folder, const Entry& entry);
  Folder& FolderAt(std::wstring_view folder);
  // The entry at path, or null (GetLastError then says why); folder, when given, receives its folder.
  Entry* EntryAt(std::wstring_view path, Folder** folder = nullptr);
  // The entry of folder whose name or 8.3 alias has key, or null.
  static Entry* Lookup(Folder& folder, const std::wstring& key);
  // The entry of folder spelled exactly name, or null.
  static Entry* ExactEntry(Folder& folder, std::wstring_view name);
  // A folder moved: the folders listed below it are found under its new name, and those not yet
  // listed are listed from where they are on the disk. Both paths end in a backslash.
  void MoveFolderBelow(const std::wstring& from, const std::wstring& to, const std::wstring& diskPath);
  // Where a path of the plan is on the disk: the folders renamed in the plan lead back to their old
  // names.
  std::wstring DiskPath(const std::wstring& path) const;

  FileSystem& disk_;
  std::unordered_map<std::wstring, Folder> folders_;  // by FileSystemKey of the folder with its backslash
  // The folder asked about last, by the path as it was given: rows come folder by folder, and the
  // key of every path costs a case conversion.
  std::wstring lastFolderPath_;
  Folder* lastFolder_ = nullptr;
  std::vector<std::pair<std::wstring, std::wstring>> movedFolders_;  // (plan path, disk path), with backslashes
  // Keys made for every row (the name EntryAt was asked about last, a move's old and new name), in
  // buffers that last.
  std::wstring key_, oldKey_, newKey_;
};

}  // namespace korval
