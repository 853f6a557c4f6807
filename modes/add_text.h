// Mode 7 "文字追加": inserts a text at a position counted from the front or the back of the stem.
#pragma once

#include <string>

#include "modes/transform_context.h"

namespace korval {

// Writes the target path (at most kMaxBuiltPath characters) for the source path.
void AddTextTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

}  // namespace korval
