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
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    // Plain ASCII folds the same in every locale; only other characters need the library.
    folded[i] = c < 0x80 ? (c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c) : static_cast<wchar_t>(std::towlower(c));
  }
  return folded;
}

}  // namespace

bool DuplicateIndex::Build(const RenameList& list) {
  Release();
  try {
    firstRowOf_.reserve(list.Count());
    for (size_t row = 0; row < list.Count(); ++row) {
      const RenameItem& item = list.Row(row);
      // A path longer than any the system takes leaves its slot empty; empty paths are found as row 0.
      if (item.folder.size() + item.oldName.size() > kMaxLongPathChars) continue;
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
  // Nothing to compare with (a read into an empty list): no need to fold the path.
  if (path.size() > kMaxLongPathChars || count == 0 || firstRowOf_.empty()) return -1;
  const auto found = firstRowOf_.find(Folded(path));
  if (found == firstRowOf_.end() || found->second >= count || found->second >= slots_) return -1;
  return static_cast<long>(found->second);
}

}  // namespace korval
