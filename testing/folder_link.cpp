#include "testing/folder_link.h"

#include <windows.h>

namespace korval {
namespace {

// The host's own path of a path, as Wine maps its drives; empty elsewhere.
std::wstring HostPath(const std::wstring& path) {
  using HostName = char*(CDECL*)(const wchar_t*);
  const auto hostName =
      reinterpret_cast<HostName>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  char* name = hostName ? hostName(path.c_str()) : nullptr;
  if (!name) return {};
  std::wstring result(MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, name, -1, result.data(), static_cast<int>(result.size()));
  HeapFree(GetProcessHeap(), 0, name);
  if (!result.empty()) result.pop_back();  // the terminating null
  return result;
}

bool IsFolderLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  const DWORD linked = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & linked) == linked;
}

}  // namespace

bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
  if (CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && IsFolderLink(link)) {
    return true;
  }
  // Wine answers the call above without making a link: its host makes one, which Wine shows as a
  // folder link.
  const std::wstring hostLink = HostPath(link), hostTarget = HostPath(target);
  if (hostLink.empty() || hostTarget.empty()) return false;
  std::wstring line = L"Z:\\bin\\ln -s \"" + hostTarget + L"\" \"" + hostLink + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(L"Z:\\bin\\ln", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  // A host program's handle tells nothing of its end: the link itself is waited for, ten seconds
  // at most.
  for (const ULONGLONG start = GetTickCount64(); GetTickCount64() - start < 10000; Sleep(10)) {
    if (IsFolderLink(link)) return true;
  }
  return false;
}

}  // namespace korval
