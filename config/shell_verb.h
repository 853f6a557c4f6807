// The folder context-menu verb of the shell: "<name> へ" on every folder, starting the program with
// the folder as its only argument.
#pragma once

#include <string>

#include "config/registry.h"

namespace korval {

enum class ShellVerbOutcome {
  Installed,
  Removed,
  WriteFailed,   // nothing of the verb is left behind
  DeleteFailed,  // the verb stays as it was
};

// The verb's menu text and the command the shell runs for it.
std::wstring ShellVerbMenuText(int usejpname);
std::wstring ShellVerbCommand(const std::wstring& programPath);

// Installs (on) or removes the verb under HKEY_CLASSES_ROOT.
ShellVerbOutcome SetShellVerb(bool on, RegistryAccess& registry, const std::wstring& programPath, int usejpname);

// The verb counts as installed when its menu text names the program under either display name.
bool IsShellVerbInstalled(RegistryAccess& registry);

}  // namespace korval
