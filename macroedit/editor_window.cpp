// The macro editor's top-level window. The step list and the mode panel come with the editor itself.
#include "macroedit/editor_window.h"

#include <algorithm>

#include "platform/window_class.h"

namespace korval {
namespace {

constexpr int kDefaultHeight = 540;
constexpr int kMaxDefaultWidth = 660;

LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterEditorWindowClass(HINSTANCE instance) {
  return RegisterTopLevelClass(instance, kEditorWindowClass, EditorWindowProc, 105);
}

HWND CreateEditorWindow(HINSTANCE instance) {
  // Without a stored position: 540 pixels high, at most 660 wide, centred on the desktop.
  RECT area{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int width = std::min<int>(kMaxDefaultWidth, area.right - area.left);
  const int height = std::min<int>(kDefaultHeight, area.bottom - area.top);
  const int left = area.left + (area.right - area.left - width) / 2;
  const int top = area.top + (area.bottom - area.top - height) / 2;
  return CreateWindowExW(0, kEditorWindowClass, kEditorTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left, top, width,
                         height, nullptr, nullptr, instance, nullptr);
}

}  // namespace korval
