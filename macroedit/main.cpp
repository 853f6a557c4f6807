// Entry of the macro editor: the Windows-version gate, the window, the message loop.
#include <windows.h>

#include <clocale>

#include "macroedit/editor_command_line.h"
#include "macroedit/editor_window.h"
#include "platform/data_files.h"
#include "platform/windows_version.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace korval;
  if (!PassVersionGate(DetectWindowsVersion(), L"Unicode unsupported Windows")) return 0;
  _wsetlocale(LC_ALL, L"");
  if (!RegisterEditorWindowClass(instance)) return 1;
  const EditorStart start{ProgramFolder(), ProgramArguments()};
  HWND window = CreateEditorWindow(instance, start);
  if (!window) return 1;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return RunEditorMessageLoop(window);
}
