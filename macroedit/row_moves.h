// Moving and deleting the selected rows of the step list, on the rows and their selection flags.
#pragma once

#include <vector>

#include "macroedit/step_row.h"

namespace korval {

enum class MoveDirection { Up, Down };

// Every maximal run of selected rows moves one place; the unselected neighbour takes the place at
// the run's other end. A run touching the top (up) or the bottom (down) stays. Rows keep their
// texts and their selection. selected has one flag per row.
void MoveSelectedRows(StepRows& rows, std::vector<bool>& selected, MoveDirection direction);

// Removes the selected rows; returns how many went.
size_t DeleteSelectedRows(StepRows& rows, const std::vector<bool>& selected);

}  // namespace korval
