// The list control that shows the rename list: a report-style list that draws the rows of the
// in-memory RenameList on demand, so that 50,000 rows cost no control memory.
#pragma once

#include <windows.h>

#include "config/settings.h"
#include "engine/rename_list.h"

namespace korval {

inline constexpr int kListControlId = 1025;

// Creates the list (grid lines, reorderable headers, full-row select, label editing) with the
// columns the settings ask for, as a child of parent.
HWND CreateListControl(HWND parent, const Settings& settings);

// Answers the control's requests for row texts (LVN_GETDISPINFOW); false for other notifications.
bool AnswerListRequest(const NMHDR* header, const RenameList& list, const Settings& settings);

// Tells the control how many rows there are now and redraws it.
void RefreshListControl(HWND control, const RenameList& list);

}  // namespace korval
