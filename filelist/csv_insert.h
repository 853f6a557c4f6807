// Putting rows read from CSV text into the list: before the focused row, or at the end.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "engine/rename_list.h"

namespace korval {

// Inserts the rows in order before the focused row; when no row or the first row has the focus
// they are appended. roomFor(count) is asked before each row with the list's count and says
// whether one more row may be added (it may raise the limit); false ends the insertion.
// Returns the number of rows inserted.
size_t InsertCsvRows(RenameList& list, std::vector<RenameItem> rows, std::optional<size_t> focusedRow,
                     const std::function<bool(size_t count)>& roomFor);

}  // namespace korval
