// Sorting the rename list: one key string per row, compared case-insensitively or by the system's
// number-aware comparison, then the rows are rewritten in the new order.
#include "engine/list_sort.h"

#include <algorithm>
#include <cwctype>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/show_message.h"

namespace korval {
namespace {

using LogicalCompareFunction = int(WINAPI*)(PCWSTR, PCWSTR);

// The number-aware comparison of shlwapi.dll, loaded for one sort and released after it. Without
// the library or the function the plain comparison is used.
class LogicalCompare {
 public:
  LogicalCompare() {
    module_ = LoadLibraryW(L"shlwapi.dll");
    if (module_ == nullptr) return;
    function_ = reinterpret_cast<LogicalCompareFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, "StrCmpLogicalW")));
  }
  ~LogicalCompare() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  LogicalCompare(const LogicalCompare&) = delete;
  LogicalCompare& operator=(const LogicalCompare&) = delete;

  LogicalCompareFunction Function() const { return function_; }

 private:
  HMODULE module_ = nullptr;
  LogicalCompareFunction function_ = nullptr;
};

struct NameParts {
  std::wstring_view stem;
  std::wstring_view extension;
};

// The extension is everything from the last dot on; one shorter than two characters (none, or a
// lone dot) is written as ". " so that names without one sort together before the others.
NameParts SplitName(std::wstring_view name) {
  const size_t dot = name.find_last_of(L'.');
  NameParts parts{name, L". "};
  if (dot == std::wstring_view::npos) return parts;
  parts.stem = name.substr(0, dot);
  if (name.size() - dot >= 2) parts.extension = name.substr(dot);
  return parts;
}

void AppendIndex(std::wstring& key, size_t index, int width) {
  const std::wstring digits = std::to_wstring(index);
  if (static_cast<int>(digits.size()) < width) key.append(static_cast<size_t>(width) - digits.size(), L'0');
  key += digits;
}

// Digits the row indexes are written with: five, as many as the largest row limit needs, or more
// for a longer list so that every index has the same width.
int IndexWidth(size_t rowCount) {
  int width = 1;
  for (size_t n = rowCount > 0 ? rowCount - 1 : 0; n >= 10; n /= 10) ++width;
  return std::max(width, 5);
}

const std::wstring& ShownText(const RenameItem& item, int column, const SortOptions& options) {
  static const std::wstring kEmpty;
  const std::optional<Column> shown = ColumnAt(column, options.sizeShown, options.dateShown);
  if (!shown) return kEmpty;
  return *shown == Column::Size ? item.size : item.date;
}

// Folds a key for the plain comparison once, so that comparing two keys is an ordinal comparison
// of the folded texts; the same lower-casing the rest of the program compares names with.
void FoldCase(std::wstring& key) {
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
}

int Sign(int value) { return (value > 0) - (value < 0); }

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Where the number-aware comparison of two keys may start: the last point inside their identical
// beginning at which both continue with a number after a plain ASCII character. Everything before
// compares equal however the system weighs it, and a number there starts afresh in both, so the
// result is the same as comparing the whole keys; it is much faster where many names share a
// beginning (the system comparison is slow per character, above all for Japanese text).
size_t SharedStartBeforeNumber(const std::wstring& a, const std::wstring& b) {
  const size_t shorter = std::min(a.size(), b.size());
  size_t start = 0;
  for (size_t i = 1; i < shorter && a[i - 1] == b[i - 1]; ++i) {
    if (IsAsciiDigit(a[i]) && IsAsciiDigit(b[i]) && a[i - 1] < 0x80 && !IsAsciiDigit(a[i - 1])) start = i;
  }
  return start;
}

int CompareLogically(LogicalCompareFunction compare, const std::wstring& a, const std::wstring& b) {
  const size_t start = SharedStartBeforeNumber(a, b);
  return Sign(compare(a.c_str() + start, b.c_str() + start));
}

// The new counter of a column and the counters of the others, per the direction asked for.
SortState AdvancedState(const SortState& state, int column, int direction) {
  SortState next = state;
  if (direction == kSortToggle) {
    if (state.listChanged) next.counters.fill(0);
  } else {
    next.counters[static_cast<size_t>(column)] = direction;
  }
  int& counter = next.counters[static_cast<size_t>(column)];
  counter = counter == 1 ? 2 : 1;
  for (int other = 0; other < kSortColumnCount; ++other) {
    if (other != column) next.counters[static_cast<size_t>(other)] = 0;
  }
  return next;
}

// Computes the new row order; may throw std::bad_alloc, before any row is touched.
std::vector<size_t> SortedOrder(const RenameList& list, int column, int sign, const SortOptions& options) {
  const size_t count = list.Count();
  const int width = IndexWidth(count);
  std::vector<std::wstring> keys;
  keys.reserve(count);
  for (size_t row = 0; row < count; ++row) keys.push_back(SortKey(list.Row(row), column, options, row, width));

  std::optional<LogicalCompare> logical;
  // The size column's texts are right-aligned to a fixed width, so they always compare plainly.
  if (options.numberLogical && column != 4) logical.emplace();
  const LogicalCompareFunction logicalFunction = logical ? logical->Function() : nullptr;
  if (logicalFunction == nullptr) {
    for (std::wstring& key : keys) FoldCase(key);
  }

  std::vector<size_t> order(count);
  for (size_t row = 0; row < count; ++row) order[row] = row;
  // Whole keys are compared, however long: a deep folder must not hide the names and the index
  // behind it. Should two keys still compare equal (the number-aware comparison may take "01" and
  // "1" alike), their previous order decides, turned round when descending, as the index would.
  const auto before = [&](size_t a, size_t b) {
    int result = logicalFunction ? CompareLogically(logicalFunction, keys[a], keys[b])
                                 : Sign(keys[a].compare(keys[b]));
    if (result == 0) result = a < b ? -1 : (a > b ? 1 : 0);
    return result * sign < 0;
  };
  // A merge sort cannot step outside the array even if a system comparison were inconsistent.
  std::stable_sort(order.begin(), order.end(), before);
  return order;
}

// Rewrites the rows in the given order: texts, status and selection travel with each row. The only
// allocation comes before the first row moves.
void Reorder(RenameList& list, const std::vector<size_t>& order) {
  std::vector<RenameItem>& rows = list.Rows();
  std::vector<RenameItem> reordered;
  reordered.reserve(order.size());
  for (size_t from : order) reordered.push_back(std::move(rows[from]));
  rows.swap(reordered);
}

}  // namespace

std::wstring SortKey(const RenameItem& item, int column, const SortOptions& options, size_t index, int indexWidth) {
  std::wstring key;
  const std::wstring& folder = item.folder;
  const NameParts old = SplitName(item.oldName);
  switch (column) {
    case 0:
      if (options.afterPreview) {
        const int status = std::clamp(static_cast<int>(item.status), 0, 99);
        key += static_cast<wchar_t>(L'0' + status / 10);
        key += static_cast<wchar_t>(L'0' + status % 10);
        key += L' ';
        key.append(old.stem).append(old.extension);
        break;
      }
      key.append(old.stem).append(L" ").append(old.extension).append(folder);
      break;
    case 3: {
      const NameParts renamed = SplitName(item.newName);
      key.append(renamed.stem).append(L" ").append(renamed.extension).append(folder);
      break;
    }
    case 1:
      key.append(old.extension).append(L" ").append(old.stem).append(folder);
      break;
    case 2:
      key.append(folder).append(L" ").append(old.stem).append(old.extension);
      break;
    case 4:
    case 5:
      key.append(ShownText(item, column, options)).append(L" ").append(folder).append(old.stem);
      break;
    default:
      break;
  }
  AppendIndex(key, index, indexWidth);
  return key;
}

SortResult SortList(RenameList& list, SortState& state, int column, int direction, const SortOptions& options) {
  if (list.undoMode) return SortResult::RefusedUndoMode;
  if (column < 0 || column >= kSortColumnCount) return SortResult::InvalidArgument;
  if (direction != kSortAscending && direction != kSortDescending && direction != kSortToggle) {
    return SortResult::InvalidArgument;
  }

  SortState next = AdvancedState(state, column, direction);
  const int sign = next.counters[static_cast<size_t>(column)] % 2 == 1 ? 1 : -1;
  next.lastColumn = column;
  next.lastSign = sign;
  next.listChanged = false;

  if (column == state.lastColumn && sign == -state.lastSign && !state.listChanged) {
    std::reverse(list.Rows().begin(), list.Rows().end());
    state = next;
    return SortResult::Reversed;
  }

  // Every allocation happens before the first row moves, so a failure leaves the list as it was.
  try {
    Reorder(list, SortedOrder(list, column, sign, options));
  } catch (const std::bad_alloc&) {
    ShowMessage(MessageKind::OutOfMemory, 0, L"", L"", MessageClass::Error);
    return SortResult::OutOfMemory;
  }
  state = next;
  return SortResult::Sorted;
}

SortResult ApplySortRequest(RenameList& list, SortState& state, int request, const SortOptions& options) {
  if (request == -1) return SortResult::NothingRequested;
  if (request < 0) return SortResult::InvalidArgument;
  const int column = request / 10;
  const int direction = request % 10;
  if (direction != kSortAscending && direction != kSortDescending) return SortResult::InvalidArgument;
  return SortList(list, state, column, direction, options);
}

SortArrow HeaderArrow(const SortState& state, int column) {
  if (column < 0 || column >= kSortColumnCount) return SortArrow::None;
  switch (state.counters[static_cast<size_t>(column)]) {
    case 1: return SortArrow::Up;
    case 2: return SortArrow::Down;
    default: return SortArrow::None;
  }
}

void ClearSortArrows(SortState& state) {
  state = SortState{};
  state.listChanged = true;
}

}  // namespace korval
