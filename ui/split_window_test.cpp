// The splitter's messages, layout and bar dragging, on real windows.
#include "ui/split_window.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

class SplitWindowTest : public testing::Test {
 protected:
  SplitWindowTest() {
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    splitter = CreateSplitWindow(WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, parent, 7, 120);
    first = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr);
    second = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr);
  }
  ~SplitWindowTest() override { DestroyWindow(parent); }

  RECT Placed(HWND pane) const {
    RECT r;
    GetWindowRect(pane, &r);
    MapWindowPoints(nullptr, splitter, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  void Drag(int from, int to) {
    SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, 10));
    SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, 10));
    SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(to, 10));
  }

  HWND parent, splitter, first, second;
};

TEST_F(SplitWindowTest, PanesSitEitherSideOfTheBar) {
  ASSERT_NE(nullptr, splitter);
  SplitPanes panes{first, second};
  ASSERT_EQ(1, SendMessageW(splitter, kSplitSetPanes, 1, reinterpret_cast<LPARAM>(&panes)));
  EXPECT_EQ(splitter, GetParent(first));
  EXPECT_EQ(reinterpret_cast<LRESULT>(first), SendMessageW(splitter, kSplitGetPane, 0, 1));
  EXPECT_EQ(118, Placed(first).right);   // position - half-width 2
  EXPECT_EQ(122, Placed(second).left);   // position + half-width
  EXPECT_EQ(400, Placed(second).right);
  EXPECT_EQ(120, SendMessageW(splitter, kSplitSetPosition, 0, 200));
  EXPECT_EQ(202, Placed(second).left);
  EXPECT_NE(0, SendMessageW(splitter, kSplitGetObject, 0, reinterpret_cast<LPARAM>(splitter)));
  EXPECT_EQ(0, SendMessageW(splitter, kSplitGetObject, 0, reinterpret_cast<LPARAM>(first)));
}

TEST_F(SplitWindowTest, DraggingStopsThreePixelsBeforeTheEdges) {
  SplitPanes panes{first, second};
  SendMessageW(splitter, kSplitSetPanes, 1, reinterpret_cast<LPARAM>(&panes));
  Drag(120, 5000);
  EXPECT_EQ(397, SendMessageW(splitter, kSplitGetPosition, 0, 0));
  Drag(397, -50);
  EXPECT_EQ(3, SendMessageW(splitter, kSplitGetPosition, 0, 0));
  // Away from the bar nothing is dragged.
  Drag(200, 300);
  EXPECT_EQ(3, SendMessageW(splitter, kSplitGetPosition, 0, 0));
}

TEST_F(SplitWindowTest, AHiddenPaneLeavesTheOtherTheWholeAreaAndTheBarStill) {
  SplitPanes panes{first, second};
  SendMessageW(splitter, kSplitSetPanes, 1, reinterpret_cast<LPARAM>(&panes));
  EXPECT_EQ(1, SendMessageW(splitter, kSplitSetVisible, 0, MAKELPARAM(0, 1)));
  EXPECT_EQ(0, SendMessageW(splitter, kSplitGetVisible, 0, 1));
  EXPECT_FALSE(IsWindowVisible(first));
  EXPECT_EQ(0, Placed(second).left);
  EXPECT_EQ(400, Placed(second).right);
  Drag(120, 250);
  EXPECT_EQ(120, SendMessageW(splitter, kSplitGetPosition, 0, 0));
}

TEST_F(SplitWindowTest, NoPanesAtAllIsRefused) {
  SplitPanes none{};
  EXPECT_EQ(0, SendMessageW(splitter, kSplitSetPanes, 1, reinterpret_cast<LPARAM>(&none)));
  EXPECT_EQ(0, SendMessageW(splitter, kSplitSetPanes, 1, 0));
  EXPECT_EQ(1, SendMessageW(splitter, kSplitSetEnabled, 0, 0));  // returns the old flag
  EXPECT_EQ(0, SendMessageW(splitter, kSplitGetEnabled, 0, 0));
}

}  // namespace
}  // namespace korval
