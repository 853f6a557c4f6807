// The program-wide records of the main program: its settings and where they live, the system it
// runs on, and the main window.
#pragma once

#include <windows.h>

#include <optional>

#include "config/settings.h"
#include "config/settings_store.h"
#include "platform/windows_version.h"

namespace korval {

struct App {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  WindowsVersion windows;
  std::optional<SettingsStore> store;  // chosen at window creation
  Settings settings;
  bool firstStart = false;  // the first-start dialog is due
};

extern App gApp;

}  // namespace korval
