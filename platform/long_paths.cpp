// Asks the system itself where it can say (RtlAreLongPathsEnabled, Windows 10 1607 and later), and
// reads the setting where it cannot (Wine, whose paths are not limited but whose desktop programs
// follow the setting as Windows does).
#include "platform/long_paths.h"

#include <windows.h>

namespace korval {

bool SystemTakesLongPaths() {
  using AreLongPathsEnabled = BOOLEAN(NTAPI*)();
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    if (auto ask = reinterpret_cast<AreLongPathsEnabled>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlAreLongPathsEnabled")))) {
      return ask() != FALSE;
    }
  }
  DWORD value = 0, size = sizeof(value);
  return RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\FileSystem", L"LongPathsEnabled",
                      RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS &&
         value == 1;
}

}  // namespace korval
