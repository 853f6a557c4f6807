// Renaming one row in place (F2 in the list): the end of the edit decides, asks and renames.
#pragma once

#include <windows.h>

#include <string>

#include "engine/rename_list.h"
#include "platform/file_system.h"

namespace korval {

// The in-place edit is off in undo mode.
bool CanStartDirectRename(const RenameList& list, size_t row);

// The edit of row ended with the text edited. Renames folder + old name to folder + edited after
// the user agreed; on success the row's old name and extension follow and the filter is applied
// again in its changed-only form. Returns whether the row was renamed. With a log folder the rename
// is written to a change log of its own first, so that it can be undone like any run (the question
// still warns, as it always has, that it may not be).
bool FinishDirectRename(RenameList& list, size_t row, const std::wstring& edited, FileSystem& fs,
                        const std::wstring& filterText, const std::wstring& logFolder = L"");

}  // namespace korval
