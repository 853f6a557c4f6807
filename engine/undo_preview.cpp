// Checking a loaded change log against the disk before the undo.
#include "engine/undo_preview.h"

#include <string>
#include <unordered_map>

#include "engine/change_log.h"
#include "engine/checked_rename.h"
#include "engine/path_existence.h"

namespace korval {
namespace {

constexpr const wchar_t* kDisplaySeparator = L" : ";
constexpr size_t kDisplaySeparatorLength = 3;

// The disk as the undo will have changed it up to the row it checks. A reverted folder moves what is
// below it: paths under its restored name are looked up under the name it has on the disk now.
class UndoWorld {
 public:
  explicit UndoWorld(FileSystem& fs) : snapshot_(fs) {}

  bool Exists(const std::wstring& path) { return snapshot_.Exists(OnDisk(path)); }

  void Revert(const std::wstring& current, const std::wstring& restored) {
    const std::wstring from = OnDisk(current);
    snapshot_.Moved(from, OnDisk(restored));
    movedFolders_[FileSystemKey(restored + L"\\")] = from + L"\\";
  }

 private:
  // The path under which the item is found on the disk now.
  std::wstring OnDisk(const std::wstring& path) const {
    if (movedFolders_.empty()) return path;
    for (size_t slash = path.find_last_of(L'\\'); slash != std::wstring::npos && slash > 0;
         slash = path.find_last_of(L'\\', slash - 1)) {
      const auto found = movedFolders_.find(FileSystemKey(path.substr(0, slash + 1)));
      if (found != movedFolders_.end()) return found->second + path.substr(slash + 1);
    }
    return path;
  }

  FolderSnapshot snapshot_;
  std::unordered_map<std::wstring, std::wstring> movedFolders_;  // restored folder key -> on disk
};

}  // namespace

std::wstring UndoDisplayForm(const std::wstring& field) {
  if (!field.empty() && field[0] == L'<') return field;
  const size_t slash = field.rfind(L'\\');
  if (slash == std::wstring::npos) return field + kDisplaySeparator;
  return field.substr(slash + 1) + kDisplaySeparator + field.substr(0, slash + 1);
}

std::wstring PathFromUndoDisplay(const std::wstring& shown) {
  const size_t at = shown.find(kDisplaySeparator);
  if (at == std::wstring::npos) return shown;
  return shown.substr(at + kDisplaySeparatorLength) + shown.substr(0, at);
}

void MarkUndoRows(RenameList& list, FileSystem& fs) {
  UndoWorld world(fs);
  for (size_t left = list.Count(); left > 0; --left) {
    RenameItem& row = list.Row(left - 1);
    const std::wstring current = PathFromUndoDisplay(row.oldName);
    const std::wstring restored = PathFromUndoDisplay(row.newName);
    ItemStatus status = ItemStatus::UndoEntry;
    if (row.folder != kTagRename) {
      // Time stamps and attributes are put back on the item named in the first field.
      if (!world.Exists(restored)) status = ItemStatus::SourceMissing;
    } else if (const std::wstring parked = TempName(current); parked != current && world.Exists(parked)) {
      // A run cut short between its two steps left the item under its temporary name: the undo takes
      // it from there.
      if (world.Exists(restored)) {
        status = ItemStatus::TargetExists;
      } else {
        world.Revert(parked, restored);
      }
    } else if (!world.Exists(current)) {
      status = ItemStatus::SourceMissing;
    } else if (!IsCaseOnlyChange(current, restored) && world.Exists(restored)) {
      status = ItemStatus::TargetExists;
    } else {
      world.Revert(current, restored);
    }
    row.status = status;
  }
}

}  // namespace korval
