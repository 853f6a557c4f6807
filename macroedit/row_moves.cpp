// Moving runs of selected rows by one place.
#include "macroedit/row_moves.h"

#include <algorithm>
#include <utility>

namespace korval {

void MoveSelectedRows(StepRows& rows, std::vector<bool>& selected, MoveDirection direction) {
  const size_t count = std::min(rows.size(), selected.size());
  if (count < 2) return;
  if (direction == MoveDirection::Up) {
    // A selected row swaps with the unselected row above it; rows of a run that touches the top
    // never find one, so they stay.
    for (size_t i = 1; i < count; ++i) {
      if (selected[i] && !selected[i - 1]) {
        size_t end = i;
        while (end + 1 < count && selected[end + 1]) ++end;
        // The neighbour above moves below the run.
        StepRow neighbour = std::move(rows[i - 1]);
        for (size_t j = i; j <= end; ++j) rows[j - 1] = std::move(rows[j]);
        rows[end] = std::move(neighbour);
        selected[i - 1] = true;
        selected[end] = false;
        i = end;
      }
    }
    return;
  }
  for (size_t i = count - 1; i-- > 0;) {
    if (selected[i] && !selected[i + 1]) {
      size_t start = i;
      while (start > 0 && selected[start - 1]) --start;
      StepRow neighbour = std::move(rows[i + 1]);
      for (size_t j = i + 1; j-- > start;) rows[j + 1] = std::move(rows[j]);
      rows[start] = std::move(neighbour);
      selected[i + 1] = true;
      selected[start] = false;
      i = start;
      if (i == 0) break;
    }
  }
}

size_t DeleteSelectedRows(StepRows& rows, const std::vector<bool>& selected) {
  size_t kept = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i < selected.size() && selected[i]) continue;
    if (kept != i) rows[kept] = std::move(rows[i]);
    ++kept;
  }
  const size_t removed = rows.size() - kept;
  rows.resize(kept);
  return removed;
}

}  // namespace korval
