// The main of every test binary. Under Wine a crashing process can look like a passing one, so an
// unhandled exception or an abort is printed with the test's name and ends the process with a
// non-zero exit code that survives Linux's 8-bit view of it.
#include <windows.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>

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

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(OnUnhandledException);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  std::signal(SIGABRT, OnAbort);
  _set_error_mode(_OUT_TO_STDERR);
  // The programs select the user's locale at start (Japanese under our Wine set-up); so do the tests.
  _wsetlocale(LC_ALL, L"");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
