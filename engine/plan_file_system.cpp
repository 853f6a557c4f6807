// The plan's file system: the disk's folders as listed once, with the plan's changes kept in memory.
#include "engine/plan_file_system.h"

#include "engine/name_refusal.h"
#include "engine/path_existence.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

// The folder (with its backslash) and the name of a path; the folder is empty without a backslash.
std::pair<std::wstring, std::wstring> SplitAtName(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {std::wstring(), path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// A name the system would refuse as a rename's target.
bool RefusedTargetName(const std::wstring& name) {
  return name.empty() || name.size() > static_cast<size_t>(kMaxPathChars) ||
         name.find_first_of(L"<>:\"/|?*") != std::wstring::npos || RefusedNameReason(name) != nullptr;
}

class NowhereFile final : public AppendFile {
 public:
  bool Append(const void*, size_t) override { return true; }
  bool TakeBack(size_t) override { return true; }
};

}  // namespace

std::wstring PlanFileSystem::DiskPath(const std::wstring& path) const {
  if (movedFolders_.empty()) return path;
  const std::wstring key = FileSystemKey(path);
  for (auto moved = movedFolders_.rbegin(); moved != movedFolders_.rend(); ++moved) {
    if (StartsWith(key, FileSystemKey(moved->first))) return moved->second + path.substr(moved->first.size());
  }
  return path;
}

PlanFileSystem::Folder& PlanFileSystem::FolderAt(const std::wstring& folder) {
  const std::wstring key = FileSystemKey(folder);
  auto found = folders_.find(key);
  if (found != folders_.end()) return found->second;
  Folder& listed = folders_[key];
  const std::wstring onDisk = DiskPath(folder);
  listed.exists = disk_.ListFolder(onDisk.c_str(), [&](const WIN32_FIND_DATAW& data) {
    const std::wstring nameKey = FileSystemKey(data.cFileName);
    listed.entries[nameKey] = Entry{data, onDisk + data.cFileName, false};
    if (data.cAlternateFileName[0]) listed.shortNames[FileSystemKey(data.cAlternateFileName)] = nameKey;
  });
  return listed;
}

PlanFileSystem::Entry* PlanFileSystem::EntryAt(const std::wstring& path) {
  const auto [folderPath, name] = SplitAtName(path);
  Folder& folder = FolderAt(folderPath);
  if (!folder.exists) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  std::wstring key = FileSystemKey(name);
  auto entry = folder.entries.find(key);
  if (entry == folder.entries.end()) {
    const auto alias = folder.shortNames.find(key);
    if (alias != folder.shortNames.end()) entry = folder.entries.find(alias->second);
  }
  if (key.empty() || entry == folder.entries.end()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  return &entry->second;
}

bool PlanFileSystem::Move(const wchar_t* from, const wchar_t* to) {
  const std::wstring source(from), target(to);
  Entry* entry = EntryAt(source);
  if (!entry) return false;
  const auto [targetFolderPath, targetName] = SplitAtName(target);
  if (RefusedTargetName(targetName)) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  Folder& targetFolder = FolderAt(targetFolderPath);
  if (!targetFolder.exists) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  const std::wstring sourceKey = FileSystemKey(source);
  const bool sameItem = sourceKey == FileSystemKey(target);  // only the spelling changes
  if (!sameItem && EntryAt(target)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  // The source's folder is listed already (EntryAt above), so the references stay valid.
  Folder& sourceFolder = FolderAt(SplitAtName(source).first);
  const std::wstring oldKey = FileSystemKey(entry->data.cFileName);
  Entry moved = std::move(*entry);
  if (moved.data.cAlternateFileName[0]) sourceFolder.shortNames.erase(FileSystemKey(moved.data.cAlternateFileName));
  sourceFolder.entries.erase(oldKey);
  wcsncpy(moved.data.cFileName, targetName.c_str(), MAX_PATH - 1);
  moved.data.cFileName[MAX_PATH - 1] = 0;
  moved.data.cAlternateFileName[0] = 0;  // the new name gets an alias of its own
  const bool isFolder = (moved.data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::wstring diskPath = moved.diskPath;
  targetFolder.entries[FileSystemKey(targetName)] = std::move(moved);
  if (isFolder && !sameItem) {
    // Whatever lies below the folder is found under its new name from now on.
    const std::wstring oldPrefix = sourceKey + L"\\";
    const std::wstring newPrefix = FileSystemKey(target) + L"\\";
    std::vector<std::pair<std::wstring, Folder>> below;
    for (auto it = folders_.begin(); it != folders_.end();) {
      if (StartsWith(it->first, oldPrefix)) {
        below.emplace_back(newPrefix + it->first.substr(oldPrefix.size()), std::move(it->second));
        it = folders_.erase(it);
      } else {
        ++it;
      }
    }
    for (auto& [key, folder] : below) folders_[key] = std::move(folder);
    if (!diskPath.empty()) movedFolders_.emplace_back(target + L"\\", diskPath + L"\\");
  }
  return true;
}

bool PlanFileSystem::Delete(const wchar_t* path) {
  const std::wstring text(path);
  if (!EntryAt(text)) return false;
  Folder& folder = FolderAt(SplitAtName(text).first);
  const Entry* entry = EntryAt(text);
  if (entry->data.cAlternateFileName[0]) folder.shortNames.erase(FileSystemKey(entry->data.cAlternateFileName));
  folder.entries.erase(FileSystemKey(entry->data.cFileName));
  return true;
}

DWORD PlanFileSystem::GetAttributes(const wchar_t* path) {
  const std::wstring text(path);
  if (SplitAtName(text).second.empty()) return disk_.GetAttributes(DiskPath(text).c_str());
  const Entry* entry = EntryAt(text);
  return entry ? entry->data.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

bool PlanFileSystem::SetAttributes(const wchar_t* path, DWORD attributes) {
  Entry* entry = EntryAt(path);
  if (!entry) return false;
  entry->data.dwFileAttributes = attributes | (entry->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  return true;
}

bool PlanFileSystem::GetTimes(const wchar_t* path, FILETIME* creation, FILETIME* access, FILETIME* write) {
  Entry* entry = EntryAt(path);
  if (!entry) return false;
  // The disk's own times, as the run reads them, until the plan set others.
  if (!entry->timesSet) return disk_.GetTimes(entry->diskPath.c_str(), creation, access, write);
  if (creation) *creation = entry->data.ftCreationTime;
  if (access) *access = entry->data.ftLastAccessTime;
  if (write) *write = entry->data.ftLastWriteTime;
  return true;
}

bool PlanFileSystem::SetTimes(const wchar_t* path, const FILETIME* creation, const FILETIME* access,
                              const FILETIME* write) {
  Entry* entry = EntryAt(path);
  if (!entry) return false;
  WIN32_FIND_DATAW& d = entry->data;
  if (!entry->timesSet &&
      !disk_.GetTimes(entry->diskPath.c_str(), &d.ftCreationTime, &d.ftLastAccessTime, &d.ftLastWriteTime)) {
    return false;
  }
  entry->timesSet = true;
  if (creation) d.ftCreationTime = *creation;
  if (access) d.ftLastAccessTime = *access;
  if (write) d.ftLastWriteTime = *write;
  return true;
}

bool PlanFileSystem::Find(const wchar_t* path, WIN32_FIND_DATAW* found) {
  const std::wstring text(path);
  const std::wstring name = SplitAtName(text).second;
  if (name.empty() || name.find_first_of(L"*?") != std::wstring::npos) return disk_.Find(DiskPath(text).c_str(), found);
  const Entry* entry = EntryAt(text);
  if (!entry) return false;
  if (found) *found = entry->data;
  return true;
}

bool PlanFileSystem::ShortPath(const wchar_t* path, std::wstring& shortPath) {
  const Entry* entry = EntryAt(path);
  if (!entry) return false;
  return disk_.ShortPath(entry->diskPath.c_str(), shortPath);
}

bool PlanFileSystem::ListFolder(const wchar_t* folder, const std::function<void(const WIN32_FIND_DATAW&)>& each) {
  const Folder& listed = FolderAt(folder);
  if (!listed.exists) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  for (const auto& [key, entry] : listed.entries) each(entry.data);
  return true;
}

std::unique_ptr<AppendFile> PlanFileSystem::CreateAppendFile(const wchar_t*) { return std::make_unique<NowhereFile>(); }

bool PlanFileSystem::VolumeFileSystemName(const wchar_t* root, std::wstring& name) {
  return disk_.VolumeFileSystemName(DiskPath(root).c_str(), name);
}

bool PlanFileSystem::ReadHead(const wchar_t* path, size_t maxBytes, DWORD share, std::vector<unsigned char>& bytes) {
  const Entry* entry = EntryAt(path);
  return disk_.ReadHead(entry ? entry->diskPath.c_str() : DiskPath(path).c_str(), maxBytes, share, bytes);
}

}  // namespace korval
