// The selection commands of the rename list: select all, invert, move the selected rows up or down,
// delete them, clear the list. The list view redraws after each and focuses the row returned.
#pragma once

#include <cstddef>

#include "engine/rename_list.h"

namespace korval {

struct MoveResult {
  bool moved = false;    // at least one run of selected rows moved
  size_t focusRow = 0;   // the leading selected row after the move (first going up, last going down)
};

// Every run of consecutive selected rows moves one position up (or down); the unselected row next
// to it goes to its other end. A run already at the top (bottom) stays.
MoveResult MoveSelection(RenameList& list, bool up);

struct DeleteResult {
  size_t removed = 0;   // rows deleted
  bool cleared = false; // every row was selected: the list was cleared as by ClearList
  size_t focusRow = 0;  // the row now at the first deleted row's index (clamped), selected; or 0
};

// Deletes the selected rows in one pass; when every row is selected the list is cleared.
DeleteResult DeleteSelectedRows(RenameList& list);

// Returns the number of selected rows afterwards.
size_t SelectAllRows(RenameList& list);
size_t ToggleSelection(RenameList& list);
size_t SelectedCount(const RenameList& list);

// Removes every row.
void ClearList(RenameList& list);

}  // namespace korval
