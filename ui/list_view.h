// The list control that shows the rename list: a report-style list that draws the rows of the
// in-memory RenameList on demand, so that 50,000 rows cost no control memory.
#pragma once

#include <windows.h>

#include "config/settings.h"
#include "engine/list_sort.h"
#include "engine/rename_list.h"
#include "resources/resource.h"

namespace korval {

inline constexpr int kListControlId = IDC_RENAME_LIST;

// Creates the list (grid lines, reorderable headers, full-row select, label editing) with the
// columns the settings ask for, as a child of parent.
HWND CreateListControl(HWND parent, const Settings& settings);

// Answers the control's requests for row texts (LVN_GETDISPINFOW); false for other notifications.
bool AnswerListRequest(const NMHDR* header, const RenameList& list, const Settings& settings);

// Keeps the rows' selected flags in step with what the person selects in the control; true when
// the notification was a selection change.
bool TrackListSelection(const NMHDR* header, RenameList& list);

// Tells the control how many rows there are now and redraws it.
void RefreshListControl(HWND control, const RenameList& list);

// The columns anew from the settings: size and date shown or not, and what the date is.
void ResetListColumns(HWND control, const Settings& settings);

// The status icons drawn for the DPI (16, 24 or 32 pixels).
void SetStatusIcons(HWND control, int dpi);

// The header arrows of the last sort (none after the sort state was cleared).
void ShowSortArrows(HWND control, const SortState& state);

// The context menu of the list at the screen point; "選択をリストから消去" only with a selection.
void ShowListMenu(HWND control, HWND commandTarget, POINT at, bool anySelected);

// The widths and the order of the shown columns back into the settings (before they are saved,
// and before the columns are made anew).
void RememberColumnWidths(HWND control, Settings& s);

// The text colour (normal or undo mode) on the settings' background.
void SetListTextColour(HWND control, int colour);
// The title of the folder column ("フォルダ名", or "<備考>" in undo mode).
void SetFolderHeader(HWND control, const wchar_t* title);

}  // namespace korval
