// The status of one row under a change mode: whether its new name can be applied, and why not.
#pragma once

#include "engine/path_existence.h"
#include "engine/rename_list.h"

namespace korval {

// Computes the status of the row under the mode; with store set, writes it as the row's status.
// A Filtered row stays Filtered. existence answers the questions about the target and the source
// (a snapshot during a preview, the file system itself during an execution). With longPaths (the
// system takes long paths) a new path may be as long as any the system takes.
ItemStatus ValidateRow(RenameList& list, size_t row, int mode, bool store, PathExistence& existence,
                       bool longPaths = false);

// New paths longer than this (folder and name) are TooLong where the system does not take long paths.
inline constexpr size_t kMaxTargetPath = 255;

}  // namespace korval
