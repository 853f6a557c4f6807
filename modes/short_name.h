// 8.3 names: the name is replaced by the short form the file system keeps for it.
#pragma once

#include <string>

#include "modes/transform_context.h"

namespace korval {

// Asks ctx.fs for the short form of the source path and takes its last component as the new name;
// without a short form the name stays. real8_3 1 upper-cases, 2 lower-cases the whole target (A-Z only).
void ShortNameTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

}  // namespace korval
