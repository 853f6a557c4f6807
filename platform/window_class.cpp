// Top-level window class and message loop.
#include "platform/window_class.h"

#include <commctrl.h>

namespace korval {

bool RegisterTopLevelClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure, int iconResource,
                           int menuResource) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(iconResource));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszMenuName = menuResource ? MAKEINTRESOURCEW(menuResource) : nullptr;
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0;
}

int RunMessageLoop(HWND acceleratorWindow, HACCEL accelerators) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (accelerators && TranslateAcceleratorW(acceleratorWindow, accelerators, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace korval
