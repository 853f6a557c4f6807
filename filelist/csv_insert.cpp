// Putting rows read from CSV text into the list.
#include "filelist/csv_insert.h"

namespace korval {

size_t InsertCsvRows(RenameList& list, std::vector<RenameItem> rows, std::optional<size_t> focusedRow,
                     const std::function<bool(size_t count)>& roomFor) {
  // Pasted rows land where the user stands; the first row having the focus is the list's resting
  // state, so rows go to the end then.
  const bool before = focusedRow && *focusedRow > 0 && *focusedRow < list.Count();
  size_t at = before ? *focusedRow : list.Count();
  size_t inserted = 0;
  for (RenameItem& row : rows) {
    if (roomFor && !roomFor(list.Count())) break;
    row.size.clear();
    row.date.clear();
    row.status = ItemStatus::None;
    row.selected = false;
    list.Insert(at++, std::move(row));
    ++inserted;
  }
  return inserted;
}

}  // namespace korval
