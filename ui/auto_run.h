// The glue between the program's settings and the engine for the runs the window starts: the
// options each engine piece reads, and the steps of an automatic run from the command line.
#pragma once

#include <windows.h>

#include <string>

#include "config/command_line.h"
#include "config/settings.h"
#include "engine/execute_changes.h"
#include "engine/list_sort.h"
#include "engine/rename_list.h"
#include "filelist/list_reader.h"
#include "platform/windows_version.h"

namespace korval {

ReadSettings ReadSettingsFrom(const Settings& s, const CommandLine& commandLine);
ExecuteOptions ExecuteOptionsFrom(const Settings& s, const WindowsVersion& windows);

// The state an automatic run works on.
struct AutoRunWork {
  RenameList* list = nullptr;
  Settings* settings = nullptr;
  WindowsVersion windows;
  PanelValues* panel = nullptr;
  ModeParams* params = nullptr;
  RunState* state = nullptr;
  SortState* sort = nullptr;
  std::wstring programFolder;
  HWND owner = nullptr;
};

// The sort options the settings give.
SortOptions SortOptionsFrom(const Settings& s, HWND owner);

// Step 4: the paths of the command line are read into the list, the filter and the sort request are
// applied; for an undo run the log slot is loaded. Returns the delay before the run in milliseconds.
int PrepareAutomaticRun(const CommandLine& commandLine, AutoRunWork& work);

// Step 5: preview and execute in the chosen mode (in test mode only the preview), or undo.
// Returns what the execution reported.
RunReport RunAutomatic(const CommandLine& commandLine, AutoRunWork& work);

// The current local time as the command line's time values read it.
LocalDateTime CurrentLocalDateTime();

}  // namespace korval
