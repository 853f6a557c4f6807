// Dropping the stored settings: the program's registry key (with the maker's shared count), or the
// ini file emptied down to its section header.
#pragma once

#include <string>

#include "config/registry.h"

namespace korval {

enum RegistryRemoval : int { kRegistryRemoved = 0, kRegistryRemovalFailed = 1, kNoRegistryToRemove = 2 };

// The program key counts the starts in "_count" whenever the registry holds the settings.
bool HasProgramRegistry(RegistryAccess& registry, const wchar_t* programKey);

// Deletes the program key (really) and lowers the maker's `tools` count, or removes the vendor key
// when no other program of the maker is counted. Without really, only tells whether there is a key.
// Fails when the program key is still there afterwards.
int DeleteProgramRegistry(bool really, RegistryAccess& registry, const wchar_t* programKey);

// The settings file holds only "[Base]" CR LF afterwards; false when it could not be written.
bool ResetSettingsIni(const std::wstring& iniPath);

}  // namespace korval
