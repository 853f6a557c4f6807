// Existence questions, live or from folder snapshots.
#include "engine/path_existence.h"

#include <windows.h>


namespace korval {

void FileSystemKeyInto(std::wstring_view name, std::wstring& key) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.remove_suffix(1);
  key.assign(name);
  // Most names are ASCII: their letters are raised here, the system's conversion (a call per name,
  // costly under Wine) is asked only for the others.
  bool ascii = true;
  for (wchar_t& c : key) {
    if (c >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - (L'a' - L'A'));
  }
  if (!ascii) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
}

std::wstring FileSystemKey(std::wstring name) {
  std::wstring key;
  FileSystemKeyInto(name, key);
  return key;
}

bool IsCaseOnlyChange(const std::wstring& from, const std::wstring& to) {
  if (from == to) return false;
  // Asked for every rename of a run: the keys go into buffers that last.
  thread_local std::wstring fromKey, toKey;
  FileSystemKeyInto(from, fromKey);
  FileSystemKeyInto(to, toKey);
  return fromKey == toKey;
}

bool IsOwnShortName(const std::wstring& source, const std::wstring& target, FileSystem& fs) {
  const size_t sourceSlash = source.find_last_of(L'\\');
  const size_t targetSlash = target.find_last_of(L'\\');
  if (sourceSlash == std::wstring::npos || targetSlash == std::wstring::npos) return false;
  // Generated short names always carry a "~"; other names need no lookup (nor any key made).
  if (target.find(L'~', targetSlash + 1) == std::wstring::npos) return false;
  if (FileSystemKey(source.substr(0, sourceSlash)) != FileSystemKey(target.substr(0, targetSlash))) return false;
  const std::wstring targetKey = FileSystemKey(target.substr(targetSlash + 1));
  if (targetKey.empty() || targetKey == FileSystemKey(source.substr(sourceSlash + 1))) return false;
  std::wstring shortPath;
  if (!fs.ShortPath(source.c_str(), shortPath)) return false;
  const size_t shortSlash = shortPath.find_last_of(L'\\');
  return FileSystemKey(shortPath.substr(shortSlash == std::wstring::npos ? 0 : shortSlash + 1)) == targetKey;
}

bool LiveExistence::Exists(const std::wstring& path) { return fs_.Find(path.c_str(), nullptr); }

bool LiveExistence::IsOwnShortName(const std::wstring& source, const std::wstring& target) {
  return korval::IsOwnShortName(source, target, fs_);
}

bool FolderSnapshot::IsOwnShortName(const std::wstring& source, const std::wstring& target) {
  return korval::IsOwnShortName(source, target, fs_);
}

bool FolderSnapshot::Exists(const std::wstring& path) {
  if (direct_) return fs_.Find(path.c_str(), nullptr);
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return false;
  const std::wstring folder = path.substr(0, slash + 1);
  const std::wstring name = path.substr(slash + 1);
  // Wildcards would make a lookup match patterns; such names never reach here from validation.
  if (name.find_first_of(L"*?") != std::wstring::npos) return fs_.Find(path.c_str(), nullptr);
  const std::wstring key = FileSystemKey(name);
  if (key.empty()) return false;
  return Listing(folder).count(key) != 0;
}

bool FolderSnapshot::ExistsIn(const std::wstring& folder, const std::wstring& name) {
  // Asked twice for every row of an execution: no path or key is made anew. A name with a wildcard
  // or a backslash takes the whole path's way.
  if (name.find_first_of(L"*?\\") != std::wstring::npos) return Exists(folder + name);
  if (direct_) {
    path_.assign(folder).append(name);
    return fs_.Find(path_.c_str(), nullptr);
  }
  FileSystemKeyInto(name, key_);
  return !key_.empty() && Listing(folder).count(key_) != 0;
}

void FolderSnapshot::Moved(const std::wstring& from, const std::wstring& to) {
  if (direct_) return;  // the file system moved it itself
  auto split = [](const std::wstring& path, std::wstring& folder, std::wstring& name) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return false;
    folder = path.substr(0, slash + 1);
    name = path.substr(slash + 1);
    return true;
  };
  std::wstring folder, name;
  if (split(from, folder, name)) {
    Listing(folder).erase(FileSystemKey(name));
  }
  if (split(to, folder, name)) {
    Listing(folder).insert(FileSystemKey(name));
  }
}

FolderSnapshot::NameSet& FolderSnapshot::Listing(const std::wstring& folder) {
  if (lastListing_ && folder == lastFolder_) return *lastListing_;
  const std::wstring folderKey = FileSystemKey(folder);
  lastFolder_ = folder;
  auto found = folders_.find(folderKey);
  if (found != folders_.end()) return *(lastListing_ = &found->second);
  NameSet& names = folders_[folderKey];
  lastListing_ = &names;
  fs_.ListFolder(folder.c_str(), [&names](const WIN32_FIND_DATAW& entry) {
    names.insert(FileSystemKey(entry.cFileName));
    if (entry.cAlternateFileName[0]) names.insert(FileSystemKey(entry.cAlternateFileName));
  });
  return names;
}

}  // namespace korval
