// The replacement mode: up to eight "/"-separated items applied one after another, as plain text
// (all, first or last occurrence; with or without case) or as regular expressions through the
// library bound for the run.
#pragma once

#include <string>

#include "modes/transform_context.h"

namespace korval {

// Writes drive + folder + the replaced name into target (at most kMaxBuiltPath characters).
void ReplaceTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

// The plain replacement of every item on a working text (cut at kMaxBuiltPath characters), then the special
// sequences in their plain form.
void ReplacePlain(const ModeParams& params, std::wstring& working, const std::wstring& source, FileSystem& fs,
                  RowTags* tags = nullptr);

}  // namespace korval
