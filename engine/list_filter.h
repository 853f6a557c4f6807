// The narrowing filter (the "絞り込み" box): rows whose old name does not match are marked Filtered
// and left out of previews and executions.
#pragma once

#include <string>

#include "engine/rename_list.h"

namespace korval {

enum class FilterKind {
  Full,           // every row becomes Filtered or None
  ChangedOnly,    // only rows entering or leaving Filtered are written (leaving gives None)
  SelectionOnly,  // as Full, but only when the filter holds "リスト選択"
};

inline constexpr const wchar_t* kSelectionKeyword = L"リスト選択";
inline constexpr size_t kMaxFilterText = 127;
inline constexpr size_t kMaxFilterTokens = 16;

// Applies the filter text; returns whether any row's status changed. Does nothing in undo mode.
bool ApplyFilter(RenameList& list, FilterKind kind, const std::wstring& filterText);

}  // namespace korval
