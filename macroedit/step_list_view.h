// The step list on screen: a virtual report list view that draws the editor's rows, and the
// selection and focus it keeps for them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "macroedit/editor_settings.h"
#include "macroedit/step_row.h"

namespace korval {

// Grid lines, full-row selection, columns that can be dragged; the three columns, their widths and order.
void SetupStepList(HWND list, const EditorSettings& settings);

// The widths and the order the columns have now, into the settings.
void RememberColumnWidths(HWND list, EditorSettings& settings);

// Tells the list how many rows there are now and redraws them.
void RefreshStepList(HWND list, size_t rowCount);

// Answers the list's question for a cell's text.
void FillStepCell(const StepRows& rows, NMLVDISPINFOW& info);

std::vector<bool> SelectedRows(HWND list, size_t rowCount);
void SelectRows(HWND list, const std::vector<bool>& selected);
void SelectAllRows(HWND list, bool select);

// The row that has the focus, or -1.
int FocusedRow(HWND list);
// Selects and focuses only the row, and shows it.
void FocusOnlyRow(HWND list, int row);

}  // namespace korval
