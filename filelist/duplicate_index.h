// A snapshot of the full paths of the rows present when a read begins, so a read never lists a
// file twice. Paths are compared without regard to case, through a hash rather than a scan.
#pragma once

#include <string>
#include <unordered_map>

#include "engine/rename_list.h"

namespace korval {

class DuplicateIndex {
 public:
  // Takes the folder plus old name of every row; a row whose path has 260 characters or more gets
  // an empty slot. False when the memory cannot be obtained (the index is then empty).
  bool Build(const RenameList& list);
  void Release();

  // The first row among the first `count` rows whose path equals this one (case-insensitive), or -1.
  // An empty path counts as a duplicate of row 0. Paths of 260 characters or more match nothing.
  long FindDuplicatePath(const std::wstring& path, size_t count) const;

  size_t Slots() const { return slots_; }

 private:
  std::unordered_map<std::wstring, size_t> firstRowOf_;
  size_t slots_ = 0;
};

}  // namespace korval
