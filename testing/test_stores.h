// Stores for tests: an ini store in a temporary program folder, and a registry store under a key
// of the test's own that is removed before and after.
#pragma once

#include <string>

#include "config/registry.h"
#include "config/settings_store.h"
#include "testing/temp_folder.h"

namespace korval {

struct IniProgramFolder {
  TempFolder folder;
  IniProgramFolder() { folder.WriteFile(L"use.ini", ""); }
  SettingsStore Store(const wchar_t* registryKey = L"Software\\Pinecot Tools\\KorvalithTestIni") const {
    return SettingsStore::Choose(folder.Path(), registryKey);
  }
  std::string IniBytes() const { return folder.ReadFile(L"korvalith.ini"); }
};

class ScratchRegistryKey {
 public:
  explicit ScratchRegistryKey(std::wstring key) : key_(std::move(key)) { DeleteRegistryKey(HKEY_CURRENT_USER, key_.c_str()); }
  ~ScratchRegistryKey() { DeleteRegistryKey(HKEY_CURRENT_USER, key_.c_str()); }
  const wchar_t* Key() const { return key_.c_str(); }

 private:
  std::wstring key_;
};

}  // namespace korval
