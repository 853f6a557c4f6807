// Sorting the rename list by one of its list-view columns, and the per-column state that makes a
// header click alternate between ascending and descending.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "engine/rename_list.h"

namespace korval {

inline constexpr int kSortColumnCount = 6;

// Directions SortList takes: the menu gives an explicit one, a header click toggles.
inline constexpr int kSortAscending = 0;
inline constexpr int kSortDescending = 1;
inline constexpr int kSortToggle = -1;

struct SortState {
  // Per list-view column: 0 never sorted, 1 ascending, 2 descending.
  std::array<int, kSortColumnCount> counters{};
  int lastColumn = -1;
  int lastSign = 0;  // +1 ascending, -1 descending, 0 before the first sort
  // Set by every read that adds rows; cleared by a sort. A header click after a read starts again
  // with ascending, and the order is always sorted afresh instead of reversed.
  bool listChanged = false;
};

struct SortOptions {
  bool numberLogical = false;  // compare digit runs by value ("a 2" before "a 10")
  bool sizeShown = false;      // the size column is in the list view
  bool dateShown = false;      // the date column is in the list view
  bool afterPreview = false;   // a preview has run: the old-name column groups rows by status
};

enum class SortResult {
  Sorted,           // fully sorted
  Reversed,         // same column, opposite direction, list unchanged: the order was reversed
  NothingRequested, // a command-line request of -1
  RefusedUndoMode,  // the rows are a loaded change log
  InvalidArgument,  // column outside 0..5, or an unknown direction or request
  OutOfMemory,      // the message was shown; order and state are unchanged
};

// Sorts by list-view column 0..5 (4 and 5 are whatever the size and date switches put there; with
// nothing there the rows go by folder and name). direction: kSortAscending, kSortDescending (the
// menu) or kSortToggle (a header click). The same column asked the other way round while the list
// has not changed is simply reversed. Refused in undo mode. Afterwards HeaderArrow tells the arrows.
SortResult SortList(RenameList& list, SortState& state, int column, int direction, const SortOptions& options);

// The sort request of the command line: -1 none, else column * 10 + direction (1 descending).
SortResult ApplySortRequest(RenameList& list, SortState& state, int request, const SortOptions& options);

enum class SortArrow { None, Up, Down };

// The arrow the header of a list-view column shows after the last sort.
SortArrow HeaderArrow(const SortState& state, int column);

// Forgets every column's direction and the last sort (entering undo mode replaces the rows and
// removes the arrows); the next header click sorts ascending, afresh.
void ClearSortArrows(SortState& state);

// The key a row is sorted by. Exposed for tests; index is the row's position before the sort and
// indexWidth the number of digits every index is written with (at least 5).
std::wstring SortKey(const RenameItem& item, int column, const SortOptions& options, size_t index, int indexWidth);

}  // namespace korval
