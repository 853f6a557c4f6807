// Where the editor's window opens.
#include "macroedit/editor_placement.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

TEST(EditorPlacement, StoredPlaceOrCentredDefault) {
  const RECT desktop{0, 0, 1024, 738};
  struct Case {
    int left, top, width, height;
    RECT expected;
  } cases[] = {
      {100, 50, 600, 400, {100, 50, 700, 450}},
      {0, 0, 1034, 748, {0, 0, 1034, 748}},       // 10 pixels to spare
      {0, 0, 1035, 400, {182, 99, 842, 639}},     // too wide: 660 wide, 540 high, centred
      {-1, -1, -1, -1, {182, 99, 842, 639}},      // nothing stored
      {-5, 10, 600, 400, {212, 99, 812, 639}},    // a negative position keeps the stored width
      {900, 600, 300, 300, {362, 99, 662, 639}},  // off the desktop
  };
  for (const Case& c : cases) {
    const RECT r = PlaceEditorWindow(c.left, c.top, c.width, c.height, desktop, 96);
    EXPECT_EQ(c.expected.left, r.left) << c.left << "," << c.top;
    EXPECT_EQ(c.expected.top, r.top) << c.left << "," << c.top;
    EXPECT_EQ(c.expected.right, r.right) << c.left << "," << c.top;
    EXPECT_EQ(c.expected.bottom, r.bottom) << c.left << "," << c.top;
  }
}

// The default sizes are given at 96 DPI; on a desktop too small for them the desktop bounds them.
TEST(EditorPlacement, TheDefaultSizeFollowsTheDisplayScaling) {
  const RECT desktop{0, 0, 2560, 1400};
  const struct {
    int dpi, width, height;
  } cases[] = {{96, 660, 540}, {120, 825, 675}, {144, 990, 810}, {192, 1320, 1080}};
  for (const auto& c : cases) {
    const RECT r = PlaceEditorWindow(-1, -1, -1, -1, desktop, c.dpi);
    EXPECT_EQ(c.width, r.right - r.left) << c.dpi;
    EXPECT_EQ(c.height, r.bottom - r.top) << c.dpi;
  }
  const RECT small = PlaceEditorWindow(-1, -1, -1, -1, RECT{0, 0, 1024, 738}, 192);
  EXPECT_EQ(1024, small.right - small.left);
  EXPECT_EQ(738, small.bottom - small.top);
}

}  // namespace
}  // namespace korval
