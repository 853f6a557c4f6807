// Case twins through the Unix side of Wine.
#include "testing/case_twin.h"

#include <windows.h>

#include "platform/scoped_handle.h"

namespace korval {
namespace {

// Whether the folder lists name, spelled exactly so, with size bytes.
bool Written(const std::wstring& folder, const std::wstring& name, size_t size) {
  WIN32_FIND_DATAW entry;
  ScopedFind find(FindFirstFileW((folder + L"*").c_str(), &entry));
  if (!find) return false;
  do {
    if (name == entry.cFileName && entry.nFileSizeLow == size) return true;
  } while (FindNextFileW(find.Get(), &entry));
  return false;
}

}  // namespace

bool WriteCaseTwin(const std::wstring& folder, const std::wstring& name, const std::string& text) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName =
      reinterpret_cast<UnixName>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"),
                                                                          "wine_get_unix_file_name")));
  if (!unixName || folder.empty()) return false;
  char* unixFolder = unixName(folder.c_str());
  if (!unixFolder) return false;
  wchar_t wide[1024] = L"";
  const int length = MultiByteToWideChar(CP_UTF8, 0, unixFolder, -1, wide, 1024);
  HeapFree(GetProcessHeap(), 0, unixFolder);
  if (length <= 0) return false;
  const std::wstring unixPath = std::wstring(wide) + L"/" + name;
  // Wine runs a Unix program started by its Unix path.
  std::wstring command = L"/bin/sh -c \"printf '%s' '" + std::wstring(text.begin(), text.end()) + L"' > '" +
                         unixPath + L"'\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // Wine gives no waitable handle of a Unix process: the file shows when it is written.
  for (int wait = 0; wait < 500; ++wait) {
    if (Written(folder, name, text.size())) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace korval
