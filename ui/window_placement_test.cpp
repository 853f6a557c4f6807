#include "ui/window_placement.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korval {
namespace {

const RECT kScreen{0, 0, 1920, 1080};
const RECT kWork{0, 0, 1920, 1040};
const POINT kNoMinimum{0, 0};

void ExpectRect(const RECT& want, const RECT& got) {
  EXPECT_EQ(want.left, got.left);
  EXPECT_EQ(want.top, got.top);
  EXPECT_EQ(want.right, got.right);
  EXPECT_EQ(want.bottom, got.bottom);
}

TEST(WindowPlacement, SavedRectangleIsUsedWhenMostlyOnScreen) {
  ExpectRect({100, 50, 900, 650}, PlaceMainWindow({100, 50, 800, 600}, kScreen, kWork, 3200, 96, kNoMinimum));
  ExpectRect({-700, 0, 100, 600}, PlaceMainWindow({-700, 0, 800, 600}, kScreen, kWork, 3200, 96, kNoMinimum));  // right edge at 100
}

TEST(WindowPlacement, UnsetOrLostWindowsAreCentredAtTheDefaultSize) {
  const RECT centred{(1920 - 815) / 2, (1040 - 437) / 2, (1920 - 815) / 2 + 815, (1040 - 437) / 2 + 437};
  const SavedPlacement lost[] = {
      {-1, -1, -1, -1},      // nothing saved
      {100, 100, -1, 600},   // width unset
      {-900, 0, 800, 600},   // left + width < -10
      {0, -700, 800, 600},   // top + height < -10
      {1600, 0, 800, 600},   // width / 2 + left - 10 beyond the screen width
      {0, 800, 800, 600},    // height / 2 + top - 10 beyond the screen height
  };
  for (const SavedPlacement& saved : lost) ExpectRect(centred, PlaceMainWindow(saved, kScreen, kWork, 3200, 96, kNoMinimum));
}

TEST(WindowPlacement, TheBorderCasesStayOnScreen) {
  ExpectRect({-810, 0, -10, 600}, PlaceMainWindow({-810, 0, 800, 600}, kScreen, kWork, 3200, 96, kNoMinimum));
  ExpectRect({1530, 0, 2330, 600}, PlaceMainWindow({1530, 0, 800, 600}, kScreen, kWork, 3200, 96, kNoMinimum));
}

TEST(WindowPlacement, MinimumTrackSizeAddsTheSystemHeights) {
  const POINT normal = MinimumTrackSize(96, 23, 19, 4);
  EXPECT_EQ(765, normal.x);
  EXPECT_EQ(287 + 23 + 19 + 4, normal.y);
  EXPECT_EQ(287 + 0 + 19 + 4 + 40, MinimumTrackSize(96, 0, 19, 4).y);
  EXPECT_EQ(287 + 23 + 19 + 21 + 40, MinimumTrackSize(96, 23, 19, 21).y);
}

// The sizes are given at 96 DPI: at every display scaling the default and the minimum grow with it,
// and a size saved at a smaller scaling is raised to the minimum of this one.
TEST(WindowPlacement, SizesFollowTheDisplayScaling) {
  struct Case {
    int dpi;
    int defaultWidth, defaultHeight, minimumWidth, minimumBody;
  };
  const Case cases[] = {
      {96, 815, 437, 765, 287}, {120, 1019, 546, 956, 359}, {144, 1223, 656, 1148, 431}, {192, 1630, 874, 1530, 574}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const RECT placed = PlaceMainWindow({-1, -1, -1, -1}, kScreen, kWork, 3200, c.dpi, kNoMinimum);
    EXPECT_EQ(c.defaultWidth, placed.right - placed.left);
    EXPECT_EQ(c.defaultHeight, placed.bottom - placed.top);
    const POINT minimum = MinimumTrackSize(c.dpi, 30, 20, 8);
    EXPECT_EQ(c.minimumWidth, minimum.x);
    EXPECT_EQ(c.minimumBody + 58, minimum.y);
    const RECT raised = PlaceMainWindow({40, 30, 815, 437}, kScreen, kWork, 3200, c.dpi, minimum);
    EXPECT_EQ(40, raised.left);
    EXPECT_EQ(std::max<int>(815, minimum.x), raised.right - raised.left);
    EXPECT_EQ(std::max<int>(437, minimum.y), raised.bottom - raised.top);
  }
}

}  // namespace
}  // namespace korval
