// Running the built programs in tests.
#include "testing/program_runner.h"

#include <vector>

#include "platform/data_files.h"

namespace korval {
namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
  const wchar_t* className = nullptr;  // any unowned window when null
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  const bool wanted = search->className ? WindowClass(window) == search->className : GetWindow(window, GW_OWNER) == nullptr;
  if (!wanted) return TRUE;
  search->found = window;
  return FALSE;
}

std::wstring ObjectName(HANDLE object) {
  wchar_t name[256] = L"";
  DWORD needed = 0;
  if (!object || !GetUserObjectInformationW(object, UOI_NAME, name, sizeof(name), &needed)) return L"";
  return name;
}

}  // namespace

std::wstring ThreadDesktopPath() {
  const std::wstring station = ObjectName(GetProcessWindowStation());
  const std::wstring desktop = ObjectName(GetThreadDesktop(GetCurrentThreadId()));
  return station.empty() || desktop.empty() ? L"" : station + L"\\" + desktop;
}

ProgramRunner::ProgramRunner(const TempFolder& folder, const std::wstring& exeName, const std::wstring& arguments,
                             bool copy, const std::wstring& currentFolder) {
  const std::wstring exe = folder / exeName;
  if (copy && !CopyFileW((ProgramFolder() + exeName).c_str(), exe.c_str(), FALSE)) return;
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back(L'\0');
  // The program opens its windows where the test looks for them: on the test's own desktop.
  std::wstring desktop = ThreadDesktopPath();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!desktop.empty()) startup.lpDesktop = desktop.data();
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentFolder.empty() ? folder.Path().c_str() : currentFolder.c_str(),
                      &startup, &info))
    return;
  CloseHandle(info.hThread);
  process_.Reset(info.hProcess);
  processId_ = info.dwProcessId;
}

ProgramRunner::~ProgramRunner() {
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 5000);
  }
}

HWND ProgramRunner::WaitForWindow(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (process_ && GetTickCount64() < deadline) {
    WindowSearch search{processId_, nullptr};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return window_ = search.found;
    if (WaitForSingleObject(process_.Get(), 50) == WAIT_OBJECT_0) break;
  }
  return nullptr;
}

HWND ProgramRunner::WaitForWindowOfClass(const wchar_t* className, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (process_ && GetTickCount64() < deadline) {
    WindowSearch search{processId_, nullptr, className};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (WaitForSingleObject(process_.Get(), 50) == WAIT_OBJECT_0) break;
  }
  return nullptr;
}

int ProgramRunner::Close(DWORD timeoutMs) {
  if (!process_) return -1;
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return static_cast<int>(code);
}

int ProgramRunner::WaitForExit(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return static_cast<int>(code);
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring WindowClass(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

HWND ListControlOf(HWND window) {
  HWND found = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM out) -> BOOL {
        if (WindowClass(child) != L"SysListView32") return TRUE;
        *reinterpret_cast<HWND*>(out) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace korval
