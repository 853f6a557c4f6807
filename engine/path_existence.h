// "Is there an entry at this path?", answered as a find-first lookup answers it (files and folders,
// case-insensitive, short names too). During a preview the disk does not change, so the answer may
// come from one listing per folder: under Wine every lookup of a missing name scans its folder, which
// makes a lookup per row quadratic. An execution asks the file system itself.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/file_system.h"

namespace korval {

class PathExistence {
 public:
  virtual ~PathExistence() = default;
  virtual bool Exists(const std::wstring& path) = 0;
  // The same question for name in folder (which ends with a backslash).
  virtual bool ExistsIn(const std::wstring& folder, const std::wstring& name) { return Exists(folder + name); }
  // Whether target is the 8.3 alias of source itself: no other item stands in its way.
  virtual bool IsOwnShortName(const std::wstring& source, const std::wstring& target) = 0;
};

// Asks the file system every time.
class LiveExistence final : public PathExistence {
 public:
  explicit LiveExistence(FileSystem& fs = SystemFileSystem()) : fs_(fs) {}
  bool Exists(const std::wstring& path) override;
  bool IsOwnShortName(const std::wstring& source, const std::wstring& target) override;

 private:
  FileSystem& fs_;
};

// Lists each folder once, on its first question, and answers from that listing. An execution keeps
// it up to date with its own renames (Moved), which is all that changes the folders during a pass
// as far as it knows; a change from outside shows as a failed rename, because a rename never
// replaces an existing item. A file system that answers from memory is asked directly.
class FolderSnapshot final : public PathExistence {
 public:
  explicit FolderSnapshot(FileSystem& fs = SystemFileSystem()) : fs_(fs), direct_(fs.AnswersFromMemory()) {}
  bool Exists(const std::wstring& path) override;
  bool ExistsIn(const std::wstring& folder, const std::wstring& name) override;
  bool IsOwnShortName(const std::wstring& source, const std::wstring& target) override;
  void Moved(const std::wstring& from, const std::wstring& to);

 private:
  using NameSet = std::unordered_set<std::wstring>;
  NameSet& Listing(const std::wstring& folder);
  FileSystem& fs_;
  const bool direct_;
  std::unordered_map<std::wstring, NameSet> folders_;
  // The folder asked about last, as it was given: rows come folder by folder.
  std::wstring lastFolder_;
  NameSet* lastListing_ = nullptr;
  std::wstring path_, key_;  // buffers reused from question to question
};

// The key under which the file system compares names: upper case, code unit by code unit (full-width
// letters and accented letters fold as well), with the trailing dots and spaces a lookup ignores.
std::wstring FileSystemKey(std::wstring name);
// The same key written into key, whose buffer is reused.
void FileSystemKeyInto(std::wstring_view name, std::wstring& key);

// Two different spellings of the same path (only letter case differs). Such a rename must go through
// a temporary name: under Wine a direct one reports success and changes nothing.
bool IsCaseOnlyChange(const std::wstring& from, const std::wstring& to);

// Whether target names, in the same folder, the 8.3 alias of the existing item source (and not its
// long name). Renaming an item onto its own alias goes through a temporary name.
bool IsOwnShortName(const std::wstring& source, const std::wstring& target, FileSystem& fs);

}  // namespace korval
