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
bool RefusedTargetName(std::wstring_view name) {
  return name.empty() || name.size() > kMaxNameChars ||
         name.find_first_of(L"<>:\"/|?*") != std::wstring_view::npos || RefusedNameReason(name) != nullptr;
}

class NowhereFile final : public AppendFile {
 public:
  bool Append(const void*, size_t) override { return true; }
  bool TakeBack(size_t) override { return true; }
};

}  // namespace

WIN32_FIND_DATAW PlanFileSystem::FindData(const Entry& entry) {
  WIN32_FIND_DATAW data{};
  data.dwFileAttributes = entry.attributes;
  data.ftCreationTime = entry.creation;
  data.ftLastAccessTime = entry.access;
  data.ftLastWriteTime = entry.write;
  data.nFileSizeHigh = entry.sizeHigh;
  data.nFileSizeLow = entry.sizeLow;
  wcsncpy(data.cFileName, entry.name.c_str(), MAX_PATH - 1);
  wcsncpy(data.cAlternateFileName, entry.alias.c_str(), 13);
  return data;
}

std::wstring PlanFileSystem::DiskPathOf(const Folder& folder, const Entry& entry) {
  if (!entry.diskPath.empty()) return entry.diskPath;
  return folder.diskPath + (entry.diskName.empty() ? entry.name : entry.diskName);
}

std::wstring PlanFileSystem::DiskPath(const std::wstring& path) const {
  if (movedFolders_.empty()) return path;
  const std::wstring key = FileSystemKey(path);
  for (auto moved = movedFolders_.rbegin(); moved != movedFolders_.rend(); ++moved) {
    if (StartsWith(key, FileSystemKey(moved->first))) return moved->second + path.substr(moved->first.size());
  }
  return path;
}

PlanFileSystem::Folder& PlanFileSystem::FolderAt(std::wstring_view folder) {
  if (lastFolder_ && folder == lastFolderPath_) return *lastFolder_;
  const std::wstring key = FileSystemKey(std::wstring(folder));
  auto found = folders_.find(key);
  lastFolderPath_ = folder;
  if (found != folders_.end()) return *(lastFolder_ = &found->second);
  Folder& listed = folders_[key];
  lastFolder_ = &listed;
  listed.diskPath = DiskPath(std::wstring(folder));
  listed.exists = disk_.ListFolder(listed.diskPath.c_str(), [&](const WIN32_FIND_DATAW& data) {
    Entry entry;
    entry.name = data.cFileName;
    entry.alias = data.cAlternateFileName;
    entry.attributes = data.dwFileAttributes;
    entry.creation = data.ftCreationTime;
    entry.access = data.ftLastAccessTime;
    entry.write = data.ftLastWriteTime;
    entry.sizeHigh = data.nFileSizeHigh;
    entry.sizeLow = data.nFileSizeLow;
    std::wstring key = FileSystemKey(entry.name);
    if (!listed.byKey.emplace(key, listed.items.size()).second) listed.twinKeys.insert(std::move(key));
    listed.items.push_back(std::move(entry));
  });
  return listed;
}

PlanFileSystem::Entry* PlanFileSystem::EntryAt(std::wstring_view path, Folder** folderOut) {
  // Asked several times for every row: the path is split in place and the key made in a buffer that
  // lasts.
  const size_t slash = path.find_last_of(L'\\');
  const std::wstring_view folderPath = slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash + 1);
  const std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  Folder& folder = FolderAt(folderPath);
  if (folderOut) *folderOut = &folder;
  if (!folder.exists) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  FileSystemKeyInto(name, key_);
  Entry* entry = folder.twinKeys.count(key_) ? ExactEntry(folder, name) : Lookup(folder, key_);
  if (!entry) SetLastError(ERROR_FILE_NOT_FOUND);
  return entry;
}

PlanFileSystem::Entry* PlanFileSystem::Lookup(Folder& folder, const std::wstring& key) {
  auto found = folder.byKey.find(key);
  // Generated 8.3 aliases always hold a "~".
  if (found == folder.byKey.end() && key.find(L'~') != std::wstring::npos) {
    if (!folder.shortNamesMade) {
      for (const auto& [nameKey, item] : folder.byKey) {
        const std::wstring& alias = folder.items[item].alias;
        if (!alias.empty()) folder.shortNames[FileSystemKey(alias)] = nameKey;
      }
      folder.shortNamesMade = true;
    }
    const auto alias = folder.shortNames.find(key);
    if (alias != folder.shortNames.end()) found = folder.byKey.find(alias->second);
  }
  if (key.empty() || found == folder.byKey.end()) return nullptr;
  return &folder.items[found->second];
}

PlanFileSystem::Entry* PlanFileSystem::ExactEntry(Folder& folder, std::wstring_view name) {
  for (Entry& entry : folder.items) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

bool PlanFileSystem::Move(const wchar_t* from, const wchar_t* to) {
  Folder* sourceFolder = nullptr;
  Entry* entry = EntryAt(from, &sourceFolder);
  if (!entry) return false;
  // Asked for every row of a plan: the target is split in place and the keys made in lasting buffers.
  const std::wstring_view target(to);
  const size_t slash = target.find_last_of(L'\\');
  const std::wstring_view targetFolderPath = slash == std::wstring_view::npos ? std::wstring_view() : target.substr(0, slash + 1);
  const std::wstring_view targetName = slash == std::wstring_view::npos ? target : target.substr(slash + 1);
  if (RefusedTargetName(targetName)) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  // Folders are not erased while a move runs, so these stay valid.
  Folder& targetFolder = FolderAt(targetFolderPath);
  if (!targetFolder.exists) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  FileSystemKeyInto(entry->name, oldKey_);
  FileSystemKeyInto(targetName, newKey_);
  const bool sameItem = sourceFolder == &targetFolder && oldKey_ == newKey_;  // only the spelling changes
  if (sameItem && entry->name == targetName) return true;  // nothing changes, its alias neither
  // Beside a case twin only the exact spelling is taken; the twin itself blocks its own spelling.
  const bool twinKey = targetFolder.twinKeys.count(newKey_) != 0;
  const Entry* holder = twinKey ? ExactEntry(targetFolder, targetName) : sameItem ? nullptr : Lookup(targetFolder, newKey_);
  if (holder && (!twinKey || holder != entry)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  const bool isFolder = (entry->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::wstring folderDiskPath = isFolder && !sameItem ? DiskPathOf(*sourceFolder, *entry) : std::wstring();
  if (!entry->alias.empty() && sourceFolder->shortNamesMade) sourceFolder->shortNames.erase(FileSystemKey(entry->alias));
  entry->alias.clear();  // the new name gets an alias of its own
  const size_t item = static_cast<size_t>(entry - sourceFolder->items.data());
  // The key's node goes over to the new name, so that no node is made per move; a key that a twin
  // holds as well stays with the twin.
  decltype(sourceFolder->byKey)::node_type node;
  if (sourceFolder->twinKeys.count(oldKey_)) {
    auto held = sourceFolder->byKey.find(oldKey_);
    if (held != sourceFolder->byKey.end() && held->second == item) {
      held->second = sourceFolder->items.size();
      for (size_t other = 0; other < sourceFolder->items.size(); ++other) {
        if (other != item && FileSystemKey(sourceFolder->items[other].name) == oldKey_) held->second = other;
      }
      if (held->second == sourceFolder->items.size()) sourceFolder->byKey.erase(held);
    }
  } else {
    node = sourceFolder->byKey.extract(oldKey_);
  }
  size_t newItem = item;
  if (sourceFolder == &targetFolder) {
    // Keeps its place among the folder's items; the disk still knows it by its first name.
    if (entry->diskName.empty() && entry->diskPath.empty()) entry->diskName = std::move(entry->name);
    entry->name.assign(targetName);
  } else {
    if (entry->diskPath.empty()) entry->diskPath = DiskPathOf(*sourceFolder, *entry);
    Entry moved = std::move(*entry);
    sourceFolder->items[item] = Entry{};  // an empty name: gone from this folder
    moved.name.assign(targetName);
    newItem = targetFolder.items.size();
    targetFolder.items.push_back(std::move(moved));
  }
  if (node.empty()) {
    if (!targetFolder.byKey.emplace(newKey_, newItem).second && targetFolder.byKey[newKey_] != newItem) {
      targetFolder.twinKeys.insert(newKey_);
    }
  } else {
    node.key() = newKey_;
    node.mapped() = newItem;
    const auto inserted = targetFolder.byKey.insert(std::move(node));
    if (!inserted.inserted && inserted.position->second != newItem) targetFolder.twinKeys.insert(newKey_);
  }
  if (isFolder && !sameItem) MoveFolderBelow(std::wstring(from) + L"\\", std::wstring(to) + L"\\", folderDiskPath);
  return true;
}

void PlanFileSystem::MoveFolderBelow(const std::wstring& from, const std::wstring& to, const std::wstring& diskPath) {
  // Whatever lies below the folder is found under its new name from now on.
  const std::wstring oldPrefix = FileSystemKey(from);
  const std::wstring newPrefix = FileSystemKey(to);
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
  lastFolder_ = nullptr;
  movedFolders_.emplace_back(to, diskPath + L"\\");
}

bool PlanFileSystem::Delete(const wchar_t* path) {
  Folder* folder = nullptr;
  Entry* entry = EntryAt(path, &folder);
  if (!entry) return false;
  if (!entry->alias.empty() && folder->shortNamesMade) folder->shortNames.erase(FileSystemKey(entry->alias));
  folder->byKey.erase(FileSystemKey(entry->name));
  *entry = Entry{};
  return true;
}

DWORD PlanFileSystem::GetAttributes(const wchar_t* path) {
  const std::wstring text(path);
  if (SplitAtName(text).second.empty()) return disk_.GetAttributes(DiskPath(text).c_str());
  const Entry* entry = EntryAt(text);
  return entry ? entry->attributes : INVALID_FILE_ATTRIBUTES;
}

bool PlanFileSystem::SetAttributes(const wchar_t* path, DWORD attributes) {
  Entry* entry = EntryAt(path);
  if (!entry) return false;
  entry->attributes = attributes | (entry->attributes & FILE_ATTRIBUTE_DIRECTORY);
  return true;
}

bool PlanFileSystem::GetTimes(const wchar_t* path, FILETIME* creation, FILETIME* access, FILETIME* write) {
  Folder* folder = nullptr;
  const Entry* entry = EntryAt(path, &folder);
  if (!entry) return false;
  // The disk's own times, as the run reads them, until the plan set others.
  if (!entry->timesSet) return disk_.GetTimes(DiskPathOf(*folder, *entry).c_str(), creation, access, write);
  if (creation) *creation = entry->creation;
  if (access) *access = entry->access;
  if (write) *write = entry->write;
  return true;
}

bool PlanFileSystem::SetTimes(const wchar_t* path, const FILETIME* creation, const FILETIME* access,
                              const FILETIME* write) {
  Folder* folder = nullptr;
  Entry* entry = EntryAt(path, &folder);
  if (!entry) return false;
  if (!entry->timesSet &&
      !disk_.GetTimes(DiskPathOf(*folder, *entry).c_str(), &entry->creation, &entry->access, &entry->write)) {
    return false;
  }
  entry->timesSet = true;
  if (creation) entry->creation = *creation;
  if (access) entry->access = *access;
  if (write) entry->write = *write;
  return true;
}

bool PlanFileSystem::Find(const wchar_t* path, WIN32_FIND_DATAW* found) {
  const std::wstring_view text(path);
  const size_t slash = text.find_last_of(L'\\');
  const std::wstring_view name = slash == std::wstring_view::npos ? text : text.substr(slash + 1);
  if (name.empty() || name.find_first_of(L"*?") != std::wstring_view::npos) {
    return disk_.Find(DiskPath(std::wstring(text)).c_str(), found);
  }
  const Entry* entry = EntryAt(text);
  if (!entry) return false;
  if (found) *found = FindData(*entry);
  return true;
}

bool PlanFileSystem::ShortPath(const wchar_t* path, std::wstring& shortPath) {
  Folder* folder = nullptr;
  const Entry* entry = EntryAt(path, &folder);
  if (!entry) return false;
  return disk_.ShortPath(DiskPathOf(*folder, *entry).c_str(), shortPath);
}

bool PlanFileSystem::ListFolder(const wchar_t* folder, const std::function<void(const WIN32_FIND_DATAW&)>& each) {
  const Folder& listed = FolderAt(folder);
  if (!listed.exists) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  for (const Entry& entry : listed.items) {
    if (!entry.name.empty()) each(FindData(entry));
  }
  return true;
}

std::unique_ptr<AppendFile> PlanFileSystem::CreateAppendFile(const wchar_t*) { return std::make_unique<NowhereFile>(); }

bool PlanFileSystem::VolumeFileSystemName(const wchar_t* root, std::wstring& name) {
  return disk_.VolumeFileSystemName(DiskPath(root).c_str(), name);
}

// A folder keeps its identity when the plan renames it: the disk's folder it stands for answers.
bool PlanFileSystem::FolderIdentity(const wchar_t* folder, FileIdentity& identity) {
  return disk_.FolderIdentity(DiskPath(folder).c_str(), identity);
}

bool PlanFileSystem::ReadHead(const wchar_t* path, size_t maxBytes, DWORD share, std::vector<unsigned char>& bytes) {
  Folder* folder = nullptr;
  const Entry* entry = EntryAt(path, &folder);
  const std::wstring onDisk = entry ? DiskPathOf(*folder, *entry) : DiskPath(path);
  return disk_.ReadHead(onDisk.c_str(), maxBytes, share, bytes);
}

}  // namespace korval
