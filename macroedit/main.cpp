// Entry of the macro editor: the Windows-version gate, the window, the message loop.
#include <windows.h>

#include <clocale>

#include "macroedit/editor_window.h"
#include "platform/windows_version.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace korval;
  if (!PassVersionGate(DetectWindowsVersion(), L"Unicode unsupported Windows")) return 0;
  _wsetlocale(LC_ALL, L"");
  if (!RegisterEditorWindowClass(instance)) return 1;
  HWND window = CreateEditorWindow(instance);
  if (!window) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
