// Selection commands on the rows of the rename list.
#include "engine/list_selection.h"

#include <algorithm>
#include <utility>

namespace korval {

MoveResult MoveSelection(RenameList& list, bool up) {
  std::vector<RenameItem>& rows = list.Rows();
  MoveResult result;
  const size_t count = rows.size();
  if (count < 2) return result;
  // Each unselected row in front of a run swaps through the run to its far end; a run at the edge
  // has no such row and stays.
  if (up) {
    for (size_t i = 1; i < count; ++i) {
      if (rows[i].selected && !rows[i - 1].selected) {
        std::swap(rows[i], rows[i - 1]);
        result.moved = true;
      }
    }
  } else {
    for (size_t i = count - 1; i-- > 0;) {
      if (rows[i].selected && !rows[i + 1].selected) {
        std::swap(rows[i], rows[i + 1]);
        result.moved = true;
      }
    }
  }
  if (up) {
    const auto first = std::find_if(rows.begin(), rows.end(), [](const RenameItem& r) { return r.selected; });
    if (first != rows.end()) result.focusRow = static_cast<size_t>(first - rows.begin());
  } else {
    const auto last = std::find_if(rows.rbegin(), rows.rend(), [](const RenameItem& r) { return r.selected; });
    if (last != rows.rend()) result.focusRow = count - 1 - static_cast<size_t>(last - rows.rbegin());
  }
  return result;
}

DeleteResult DeleteSelectedRows(RenameList& list) {
  std::vector<RenameItem>& rows = list.Rows();
  DeleteResult result;
  const size_t selected = SelectedCount(list);
  if (selected == rows.size()) {
    result.removed = rows.size();
    result.cleared = true;
    ClearList(list);
    return result;
  }
  const auto isSelected = [](const RenameItem& r) { return r.selected; };
  const size_t firstDeleted =
      selected == 0 ? 0 : static_cast<size_t>(std::find_if(rows.begin(), rows.end(), isSelected) - rows.begin());
  // One pass: each kept row moves over the first free earlier slot, the surplus goes at the end.
  rows.erase(std::remove_if(rows.begin(), rows.end(), isSelected), rows.end());
  result.removed = selected;
  result.focusRow = std::min(firstDeleted, rows.size() - 1);
  rows[result.focusRow].selected = true;
  return result;
}

size_t SelectAllRows(RenameList& list) {
  for (RenameItem& row : list.Rows()) row.selected = true;
  return list.Count();
}

size_t ToggleSelection(RenameList& list) {
  for (RenameItem& row : list.Rows()) row.selected = !row.selected;
  return SelectedCount(list);
}

size_t SelectedCount(const RenameList& list) {
  return static_cast<size_t>(
      std::count_if(list.Rows().begin(), list.Rows().end(), [](const RenameItem& r) { return r.selected; }));
}

void ClearList(RenameList& list) { list.Clear(); }

}  // namespace korval
