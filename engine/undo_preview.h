// What an undo will meet, shown before it runs: each row of a loaded change log is marked when the
// item to restore is missing or its old name is taken by then. The log is walked backwards, as the
// undo walks it, so names that earlier reverts free or take are counted as the undo will find them.
#pragma once

#include <string>

#include "engine/rename_list.h"
#include "platform/file_system.h"

namespace korval {

// The form in which the undo rows show a path: "name : folder\" (the part after the last backslash,
// " : ", the folder with its backslash). A text beginning with "<" is shown as it is.
std::wstring UndoDisplayForm(const std::wstring& field);
// The path back from that form (the text unchanged when it holds no " : ").
std::wstring PathFromUndoDisplay(const std::wstring& shown);

// Sets the status of the undo rows: SourceMissing (the item is not there), TargetExists (the old name
// is taken), or UndoEntry. Each folder is listed once.
void MarkUndoRows(RenameList& list, FileSystem& fs = SystemFileSystem());

}  // namespace korval
