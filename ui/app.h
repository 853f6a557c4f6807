// The program-wide records of the main program: its settings and where they live, the system it
// runs on, and the main window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "config/settings.h"
#include "config/settings_store.h"
#include "config/single_instance.h"
#include "engine/execute_changes.h"
#include "engine/list_sort.h"
#include "engine/rename_list.h"
#include "macro/playback.h"
#include "macro/recorder.h"
#include "modes/mode_params.h"
#include "modes/read_mode_params.h"
#include "platform/windows_version.h"

namespace korval {

struct App {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  WindowsVersion windows;
  std::optional<SettingsStore> store;  // chosen at window creation
  Settings settings;
  bool firstStart = false;  // the first-start dialog is due
  CommandLine commandLine;  // parsed at start
  RenameList list;
  PanelValues panel;        // the mode panel's values (the panel itself comes with the window's controls)
  ModeParams params;
  RunState runState;
  SortState sortState;
  MacroPlayback playback;
  MacroRecorder recorder;
  MacroSlotNames macroSlots = UnregisteredSlots();  // the slot list's texts, from the macro list file
  int exitWatchdog = 0;     // ticks of the automatic run's exit watchdog
  RunReport autoRunReport;  // what the automatic run did: its exit code
  std::vector<std::wstring> arguments;  // the whole argument vector, for a hand-over
  InstanceMutex instanceMutex;
  bool handedOver = false;  // another instance took this start's paths; the program ends quietly
  HWND listControl = nullptr;
};

extern App gApp;

}  // namespace korval
