// Entry of the renamer: the Windows-version gate, the window class, the main window, the message loop.
#include <windows.h>

#include <clocale>
#include <string>
#include <vector>

#include "engine/show_message.h"
#include "platform/command_line_split.h"
#include "platform/data_files.h"
#include "platform/window_class.h"
#include "ui/auto_run.h"
#include "ui/main_window.h"

namespace korval {
namespace {

// The options added to every automatic run, read before the settings are: they shape the run.
std::wstring AutoAddOptions() {
  const SettingsStore store = SettingsStore::Choose(ProgramFolder());
  return store.Decode(store.ReadText(L"autoaddopt", L"/file /subfolder0"));
}

}  // namespace
}  // namespace korval

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace korval;
  WindowStart start;
  start.windows = DetectWindowsVersion();
  if (!PassVersionGate(start.windows, L"Unicode File name unsupported Windows")) return 0;
  // Case-insensitive comparisons fold as the user's locale does (full-width letters included).
  _wsetlocale(LC_ALL, L"");
  start.programFolder = ProgramFolder();
  start.arguments = ProcessArguments();
  start.commandLine = ParseCommandLine(start.arguments, AutoAddOptions(), CurrentLocalDateTime());
  MakePathsFull(start.commandLine);
  SetMessagePolicy(MessagePolicyOf(start.commandLine));
  // A run that was asked for a report file does not start without it.
  AutoReport report;
  if (start.commandLine.WantsReport()) {
    if (!OpenAutoReport(start.commandLine, report)) return kExitNotStarted;
    start.report = &report;
  }
  if (!RegisterMainWindowClass(instance)) return 1;
  const bool hidden = start.commandLine.IsAutomatic() && !start.commandLine.Shows();
  HWND window = CreateMainWindow(instance, &start, hidden);
  // A start that handed its paths over ends with 0 only when the running window took them all.
  if (!window) return start.handedOver && start.handOverTaken ? 0 : 1;
  if (!hidden) {
    // Painted from the message loop, where what other programs send is answered first.
    ShowWindow(window, showCommand);
  }
  return RunMainLoop(window);
}
