// Mode 8 "文字削除": deletes shortcut and copy marks, bracketed parts, a number of characters, or
// the characters the ANSI code page cannot hold, by one of twelve rules (deltype 0..11).
#pragma once

#include <string>

#include "modes/transform_context.h"

namespace korval {

// Writes the target path (at most kMaxBuiltPath characters) for the source path.
void DeleteTextTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

}  // namespace korval
