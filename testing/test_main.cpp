// The main of every test binary. Under Wine a crashing process can look like a passing one, so an
// unhandled exception or an abort is printed with the test's name and ends the process with a
// non-zero exit code that survives Linux's 8-bit view of it.
#include <windows.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

void PrintCurrentTest(const char* what, unsigned long code) {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  std::fprintf(stderr, "\n*** %s 0x%08lX in %s.%s\n", what, code,
               info ? info->test_suite_name() : "(no test)", info ? info->name() : "(none)");
  std::fflush(stderr);
  std::fflush(stdout);
}

// Linux sees only the low byte of the exit code; make sure it is never zero.
UINT NonZeroLowByte(unsigned long code) {
  return (code & 0xFF) != 0 ? static_cast<UINT>(code) : static_cast<UINT>(code | 0xFF);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  const unsigned long code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 1;
  PrintCurrentTest("CRASH: unhandled exception", code);
  TerminateProcess(GetCurrentProcess(), NonZeroLowByte(code));
  return EXCEPTION_EXECUTE_HANDLER;
}

void OnAbort(int) {
  PrintCurrentTest("ABORT: signal SIGABRT", 3);
  TerminateProcess(GetCurrentProcess(), 3);
}

// The test's windows live on a desktop of this process's own: the keyboard focus and the foreground
// belong to a desktop, so a window that another test program opens meanwhile cannot take them. The
// programs a test starts join this desktop (tests/program_runner.cpp), so the test still finds
// their windows. Must run before the thread's first window.
void MoveToDesktopOfOurOwn() {
  // A session that runs its tests one at a time on a screen of a chosen size (the display-scaling
  // check) keeps them on that screen's desktop: a desktop of their own would take another size.
  if (GetEnvironmentVariableW(L"KORVAL_SHARED_DESKTOP", nullptr, 0) > 0) return;
  // Process ids come back soon: a desktop of an earlier test under the same name may still be
  // going away, with its desktop window half gone. The name is new, and made anew if it is not.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::wstring name = L"korval-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(attempt);
    SetLastError(ERROR_SUCCESS);
    HDESK desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop) return;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseDesktop(desktop);
      continue;
    }
    if (!SetThreadDesktop(desktop)) CloseDesktop(desktop);
    return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(OnUnhandledException);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  std::signal(SIGABRT, OnAbort);
  _set_error_mode(_OUT_TO_STDERR);
  // The programs select the user's locale at start (Japanese under our Wine set-up); so do the tests.
  _wsetlocale(LC_ALL, L"");
  MoveToDesktopOfOurOwn();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
