// The duplicate snapshot of a read.
#include "filelist/duplicate_index.h"

#include <cwctype>
#include <new>

#include "platform/path_limits.h"

namespace korval {
namespace {

// The folded form compares like a character-by-character case-insensitive comparison.
std::wstring Folded(const std::wstring& text) {
  std::wstring folded(text.size(), L'\0');
  for (size_t i = 0; i < text.size(); ++i) folded[i] = static_cast<wchar_t>(std::towlower(text[i]));
  return folded;
}

}  // namespace

bool DuplicateIndex::Build(const RenameList& list) {
  Release();
  try {
    firstRowOf_.reserve(list.Count());
    for (size_t row = 0; row < list.Count(); ++row) {
      const RenameItem& item = list.Row(row);
      // A path too long for its slot leaves the slot empty; empty paths are found as row 0 anyway.
      if (item.folder.size() + item.oldName.size() >= kPathBuffer) continue;
      firstRowOf_.emplace(Folded(item.folder + item.oldName), row);
    }
  } catch (const std::bad_alloc&) {
    Release();
    return false;
  }
  slots_ = list.Count();
  return true;
}

void DuplicateIndex::Release() {
  std::unordered_map<std::wstring, size_t>().swap(firstRowOf_);
  slots_ = 0;
}

long DuplicateIndex::FindDuplicatePath(const std::wstring& path, size_t count) const {
  if (path.empty()) return 0;
  if (path.size() >= kPathBuffer) return -1;
  const auto found = firstRowOf_.find(Folded(path));
  if (found == firstRowOf_.end() || found->second >= count || found->second >= slots_) return -1;
  return static_cast<long>(found->second);
}

}  // namespace korval
