// The dispatcher: the new name of one row under the selected change mode.
#pragma once

#include <string>

#include "modes/transform_context.h"

namespace korval {

// target comes in as the row's folder plus its current new name and leaves as the target path (at
// most kMaxBuiltPath characters); for the time stamp and attribute modes it leaves as the description.
// source is the row's folder plus its old name (during a macro playback after the first step, its
// current new name). rowCounter counts the rows handled before this one, filtered rows left out; the
// serial numbers and the time stamps use it. Modes without a transform leave target as it came.
void TransformName(std::wstring& target, const std::wstring& source, int mode, int rowCounter,
                   const TransformContext& ctx);

// Puts into name (its buffer kept) the new name a target path holds: the part behind the folder
// prefix, taken by length; empty when the target is shorter than the folder.
void AssignNameBehindFolder(std::wstring& name, const std::wstring& target, const std::wstring& folder);

}  // namespace korval
