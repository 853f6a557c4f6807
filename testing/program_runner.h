// Starts a built program from a program folder of the test's own, finds its top-level window, and
// closes it the way a user does.
#pragma once

#include <windows.h>

#include <string>

#include "platform/scoped_handle.h"
#include "testing/temp_folder.h"

namespace korval {

class ProgramRunner {
 public:
  // Copies <build>/bin/<exeName> into folder and starts it there with the arguments; with copy
  // false, starts the copy already there (a program that runs cannot be copied over). The program's
  // current folder is its own folder unless currentFolder names another.
  ProgramRunner(const TempFolder& folder, const std::wstring& exeName, const std::wstring& arguments = L"",
                bool copy = true, const std::wstring& currentFolder = L"");
  ~ProgramRunner();

  bool Started() const { return process_.Valid(); }
  DWORD ProcessId() const { return processId_; }
  // Waits up to timeoutMs for the process's first visible top-level window.
  HWND WaitForWindow(DWORD timeoutMs = 15000);
  // Waits up to timeoutMs for a visible top-level window of the process with the class name.
  HWND WaitForWindowOfClass(const wchar_t* className, DWORD timeoutMs = 15000);
  // Sends WM_CLOSE and waits for the exit; returns the exit code, or -1 on time-out.
  int Close(DWORD timeoutMs = 15000);
  // Waits for the program to end by itself; the exit code, or -1 on time-out.
  int WaitForExit(DWORD timeoutMs = 30000);

 private:
  ScopedKernelHandle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

// "station\desktop" of the calling thread, as a started process is told where to open its windows.
std::wstring ThreadDesktopPath();
std::wstring WindowText(HWND window);
// The rename list inside a main window (it sits in the main dialog's splitter), or null.
HWND ListControlOf(HWND window);
std::wstring WindowClass(HWND window);

}  // namespace korval
