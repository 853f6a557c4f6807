// The walk over the step list that merges replacement steps.
#include "macroedit/reduce_replacements.h"

#include <algorithm>

#include "macroedit/step_description.h"
#include "modes/change_mode.h"

namespace korval {
namespace {

constexpr int kReplaceCode = 8;

bool IsReplaceRow(const StepRow& row) { return row.mode == EditorModeName(kModeReplace); }

}  // namespace

size_t ReduceReplacements(StepRows& rows, int maxParts) {
  const size_t maxSlashes = static_cast<size_t>(std::clamp(maxParts, kMinMultiReplace, kMaxMultiReplace) - 1);
  const size_t before = rows.size();
  size_t i = 0, j = 1;
  while (j < rows.size()) {
    bool merged = false;
    if (IsReplaceRow(rows[i]) && IsReplaceRow(rows[j])) {
      const RawStepPart first = ReadRawPart(rows[i]);
      const RawStepPart second = ReadRawPart(rows[j]);
      const std::wstring search = first.textA + L"/" + second.textA;
      const std::wstring replacement = first.textB + L"/" + second.textB;
      if (first.d0 == second.d0 && first.d1 == second.d1 && first.d2 == second.d2 &&
          search.size() <= kMaxMergedTextChars && replacement.size() <= kMaxMergedTextChars &&
          static_cast<size_t>(std::count(search.begin(), search.end(), L'/')) <= maxSlashes) {
        StepRow row;
        if (DescribeStep(first.d0, first.d1, first.d2, kReplaceCode, search, replacement, row.mode, row.setting,
                         row.setting2) == 0) {
          rows[i] = std::move(row);
          rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(j));
          merged = true;
        }
      }
    }
    if (!merged) {
      ++i;
      ++j;
    }
  }
  return before - rows.size();
}

}  // namespace korval
