// The column order of `headcount`.
#include "config/column_order.h"

#include <algorithm>
#include <numeric>

namespace korval {
namespace {

// Each column's index in the control, or -1 while it is hidden.
std::vector<int> ControlIndexes(std::span<const bool> shown) {
  std::vector<int> indexes(shown.size(), -1);
  int next = 0;
  for (size_t column = 0; column < shown.size(); ++column) {
    if (shown[column]) indexes[column] = next++;
  }
  return indexes;
}

}  // namespace

std::vector<int> ColumnOrderOf(int headcount, int count) {
  std::vector<int> order(static_cast<size_t>(count));
  for (int position = 0; position < count; ++position) order[position] = (headcount >> (4 * (count - 1 - position))) & 0xF;
  std::vector<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  std::vector<int> identity(static_cast<size_t>(count));
  std::iota(identity.begin(), identity.end(), 0);
  const bool valid = headcount >= 0 && (count == 0 || (headcount >> (4 * count)) == 0) && sorted == identity;
  return valid ? order : identity;
}

std::vector<int> ShownColumnOrder(int headcount, std::span<const bool> shown) {
  const std::vector<int> indexes = ControlIndexes(shown);
  std::vector<int> order;
  for (int column : ColumnOrderOf(headcount, static_cast<int>(shown.size()))) {
    if (indexes[column] >= 0) order.push_back(indexes[column]);
  }
  return order;
}

int HeadcountWithShownOrder(int headcount, std::span<const bool> shown, std::span<const int> controlOrder) {
  const std::vector<int> indexes = ControlIndexes(shown);
  std::vector<int> shownInOrder;  // columns, as the control shows them
  for (int index : controlOrder) {
    const auto column = std::find(indexes.begin(), indexes.end(), index);
    if (index < 0 || column == indexes.end()) return headcount;  // not the control's columns
    shownInOrder.push_back(static_cast<int>(column - indexes.begin()));
  }
  std::vector<int> sorted = shownInOrder, shownColumns;
  std::sort(sorted.begin(), sorted.end());
  for (size_t column = 0; column < shown.size(); ++column) {
    if (shown[column]) shownColumns.push_back(static_cast<int>(column));
  }
  if (sorted != shownColumns) return headcount;  // not an order of the shown columns
  int result = 0;
  size_t next = 0;
  for (int column : ColumnOrderOf(headcount, static_cast<int>(shown.size()))) {
    result = result << 4 | (indexes[column] >= 0 ? shownInOrder[next++] : column);
  }
  return result;
}

}  // namespace korval
