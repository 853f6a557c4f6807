// Merging runs of adjacent replacement steps with equal options into "/"-separated steps.
#pragma once

#include "macroedit/step_row.h"

namespace korval {

inline constexpr int kMinMultiReplace = 2, kMaxMultiReplace = 8;
// The longest joined search or replacement text of a merged step.
inline constexpr size_t kMaxMergedTextChars = 200;

// Merges adjacent "置換" rows whose digits are equal while the joined texts stay within 200
// characters and the joined search text holds at most maxParts - 1 slashes. A merged row is compared
// again with the row that now follows it. Returns the number of rows removed.
size_t ReduceReplacements(StepRows& rows, int maxParts);

}  // namespace korval
