// Removing the program's registry key, and resetting the settings file.
#include "config/settings_removal.h"

#include "platform/scoped_handle.h"

namespace korval {

bool HasProgramRegistry(RegistryAccess& registry, const wchar_t* programKey) {
  RegistryData count;
  return registry.Value(RegistryOp::ReadDword, HKEY_CURRENT_USER, programKey, L"_count", count) == 0;
}

int DeleteProgramRegistry(bool really, RegistryAccess& registry, const wchar_t* programKey) {
  if (!HasProgramRegistry(registry, programKey)) return kNoRegistryToRemove;
  if (!really) return kRegistryRemoved;
  const bool programFailed = registry.DeleteKey(HKEY_CURRENT_USER, programKey, KeyDeletion::WithSubkeys) != 0;
  RegistryData tools;
  registry.Value(RegistryOp::ReadDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  if (static_cast<int>(tools.number) > 1) {
    --tools.number;
    registry.Value(RegistryOp::WriteDword, HKEY_CURRENT_USER, kVendorKey, L"tools", tools);
  } else {
    // Only an empty vendor key goes: another program of the maker may keep its settings below it
    // even when the count says otherwise.
    registry.DeleteKey(HKEY_CURRENT_USER, kVendorKey, KeyDeletion::IfNoSubkeys);
  }
  // The vendor key can only have gone with the program key already deleted, so the program key
  // alone tells whether the settings are gone.
  return programFailed ? kRegistryRemovalFailed : kRegistryRemoved;
}

bool ResetSettingsIni(const std::wstring& iniPath) {
  SetFileAttributesW(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
  ScopedFile file(CreateFileW(iniPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  static constexpr char kHeader[] = "[Base]\r\n";
  DWORD written = 0;
  return WriteFile(file.Get(), kHeader, sizeof(kHeader) - 1, &written, nullptr) && written == sizeof(kHeader) - 1;
}

}  // namespace korval
