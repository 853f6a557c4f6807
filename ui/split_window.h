// A child window that holds two panes side by side (or stacked) with a bar between them that the
// mouse drags. The main window puts the folder tree and the rename list in it. Everything the owner
// needs goes through the window messages below; notifications of the panes are passed on to the
// top-level window.
#pragma once

#include <windows.h>

namespace korval {

inline constexpr const char* kSplitWindowClass = "SplitWindow";

// Messages, WM_USER + n.
inline constexpr UINT kSplitSetPanes = WM_USER + 1;         // wParam 1 side by side, 0 stacked; lParam SplitPanes*
inline constexpr UINT kSplitGetPane = WM_USER + 2;          // lParam non-zero: first pane, else second
inline constexpr UINT kSplitSetEnabled = WM_USER + 3;       // lParam: flag; returns the old one
inline constexpr UINT kSplitGetEnabled = WM_USER + 4;
inline constexpr UINT kSplitSetLiveResize = WM_USER + 5;    // lParam: flag; returns the old one
inline constexpr UINT kSplitGetLiveResize = WM_USER + 6;
inline constexpr UINT kSplitSetPosition = WM_USER + 7;      // lParam: position; returns the old one
inline constexpr UINT kSplitGetPosition = WM_USER + 8;
inline constexpr UINT kSplitSetVisible = WM_USER + 9;       // lParam low word first, high word second
inline constexpr UINT kSplitGetVisible = WM_USER + 10;      // lParam non-zero: first pane, else second
inline constexpr UINT kSplitSetHalfWidth = WM_USER + 11;    // lParam: half-width; returns the old one
inline constexpr UINT kSplitGetHalfWidth = WM_USER + 12;
inline constexpr UINT kSplitGetObject = WM_USER + 200;      // lParam: a window; the object when it is ours

// The two panes of kSplitSetPanes. Window handles do not fit in 16 bits each, so they travel by
// pointer rather than packed into one number.
struct SplitPanes {
  HWND first = nullptr;   // left or top
  HWND second = nullptr;  // right or bottom
};

class SplitWindow {
 public:
  virtual ~SplitWindow() = default;
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window = nullptr;
  WNDPROC replaced = nullptr;
  HWND topLevel = nullptr;
  HWND first = nullptr, second = nullptr;
  int position = 200;
  int halfWidth = 2;
  int orientation = 0;  // 0 side by side, 1 stacked
  int liveResize = 0;
  int enabled = 1;
  int width = 0, height = 0;
  RECT tracking{};
  bool dragging = false;
  int firstVisible = 1, secondVisible = 1;

 private:
  void Layout();
  bool OverBar(int x, int y) const;
  void DrawTracking();
  void Paint();
};

// Creates the splitter as a child of parent; null when it cannot be made.
HWND CreateSplitWindow(DWORD style, int x, int y, int width, int height, HWND parent, int id, int startPosition);

}  // namespace korval
