// Deliberately failing tests that prove the harness: a crash or an abort must fail the run with a
// non-zero exit code and a line naming the test, never pass silently.
#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

TEST(HarnessProbe, Passes) { SUCCEED(); }

TEST(HarnessProbe, AccessViolation) {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
}

TEST(HarnessProbe, Abort) { std::abort(); }

TEST(HarnessProbe, ExitCode) { ExitProcess(42); }

}  // namespace
