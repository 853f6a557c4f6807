// The column order kept in `headcount`, with columns switched off meanwhile.
#include "config/column_order.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

constexpr bool kAll[6] = {true, true, true, true, true, true};
constexpr bool kNoSize[6] = {true, true, true, true, false, true};
constexpr bool kNoDate[6] = {true, true, true, true, true, false};

TEST(ColumnOrder, TheDigitsGiveTheOrderOrTheIdentity) {
  struct Case {
    int headcount, count;
    std::vector<int> order;
  };
  const Case cases[] = {
      {0x13245, 6, {0, 1, 3, 2, 4, 5}},  // the default: the new name before the folder
      {0x543210, 6, {5, 4, 3, 2, 1, 0}},
      {0x111111, 6, {0, 1, 2, 3, 4, 5}},   // a column twice
      {0x1234567, 6, {0, 1, 2, 3, 4, 5}},  // a seventh digit
      {-1, 6, {0, 1, 2, 3, 4, 5}},
      {0x201, 3, {2, 0, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.order, ColumnOrderOf(c.headcount, c.count)) << std::hex << c.headcount;
}

TEST(ColumnOrder, OnlyTheShownColumnsTakePartAndHiddenOnesKeepTheirPlace) {
  struct Case {
    int headcount;
    const bool* shown;
    std::vector<int> shownOrder;  // the control's order array
    std::vector<int> dragged;     // the order array after the person dragged headers
    int saved;
  };
  const Case cases[] = {
      {0x13245, kAll, {0, 1, 3, 2, 4, 5}, {0, 1, 3, 2, 4, 5}, 0x13245},
      {0x13245, kNoSize, {0, 1, 3, 2, 4}, {1, 0, 3, 2, 4}, 0x103245},  // the size column keeps its place
      {0x543210, kNoDate, {4, 3, 2, 1, 0}, {0, 1, 2, 3, 4}, 0x501234},
      {0x13245, kAll, {0, 1, 3, 2, 4, 5}, {0, 0, 1, 2, 3, 4}, 0x13245},  // not an order: kept as it was
  };
  for (const Case& c : cases) {
    const std::span<const bool> shown(c.shown, 6);
    EXPECT_EQ(c.shownOrder, ShownColumnOrder(c.headcount, shown)) << std::hex << c.headcount;
    EXPECT_EQ(c.saved, HeadcountWithShownOrder(c.headcount, shown, c.dragged)) << std::hex << c.headcount;
  }
}

}  // namespace
}  // namespace korval
