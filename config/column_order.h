// `headcount`: the order in which a list shows its columns, one hexadecimal digit per display
// position with the first position in the highest digit (0x13245 for six columns: 0, 1, 3, 2, 4, 5).
// Columns that are switched off keep their place in it while they are hidden.
#pragma once

#include <span>
#include <vector>

namespace korval {

// The columns 0..count-1 in display order; the identity when the value is not an order of them.
std::vector<int> ColumnOrderOf(int headcount, int count);

// The control's order array for the shown columns: a shown column's index in the control is its
// number among the shown ones.
std::vector<int> ShownColumnOrder(int headcount, std::span<const bool> shown);

// headcount with the shown columns in the order the control has them (controlOrder, indexes in
// the control); hidden columns stay where they were.
int HeadcountWithShownOrder(int headcount, std::span<const bool> shown, std::span<const int> controlOrder);

}  // namespace korval
