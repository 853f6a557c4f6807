// Entry of the macro editor: the Windows-version gate, the window, the message loop.
#include <windows.h>

#include <clocale>

#include "macroedit/editor_window.h"
#include "platform/window_class.h"
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

  return RunMessageLoop();
}
