// Entry of the renamer: the Windows-version gate, the window class, the main window, the message loop.
#include <windows.h>

#include <clocale>

#include "ui/app.h"
#include "ui/main_window.h"
#include "platform/window_class.h"

namespace korval {
App gApp;
}  // namespace korval

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace korval;
  gApp.instance = instance;
  gApp.windows = DetectWindowsVersion();
  if (!PassVersionGate(gApp.windows, L"Unicode File name unsupported Windows")) return 0;
  // Case-insensitive comparisons fold as the user's locale does (full-width letters included).
  _wsetlocale(LC_ALL, L"");
  if (!RegisterMainWindowClass(instance)) return 1;
  HWND window = CreateMainWindow(instance);
  if (!window) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  return RunMessageLoop();
}
