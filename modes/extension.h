// Mode 2 "拡張子": replaces the extension of the name, or appends a new one behind it.
#pragma once

#include <string>

#include "modes/transform_context.h"

namespace korval {

// Writes the target path (at most kMaxBuiltPath characters) for the source path.
void ExtensionTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

}  // namespace korval
