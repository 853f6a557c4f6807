#include "config/single_instance.h"

#include <gtest/gtest.h>

#include <string>

namespace korval {
namespace {

// A mutex name of this test process, so a running program or another test is never met.
std::wstring TestMutexName(const wchar_t* what) {
  return L"こ～ばりす～ず test " + std::to_wstring(GetCurrentProcessId()) + L" " + what;
}

// Whether another thread could take the mutex right now (it cannot while this instance owns it).
bool FreeForAnotherThread(const std::wstring& name) {
  struct Probe {
    const wchar_t* name;
    DWORD wait = WAIT_FAILED;
  } probe{name.c_str()};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* parameter) -> DWORD {
        auto* p = static_cast<Probe*>(parameter);
        HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, p->name);
        if (h == nullptr) return 0;
        p->wait = WaitForSingleObject(h, 0);
        if (p->wait == WAIT_OBJECT_0 || p->wait == WAIT_ABANDONED) ReleaseMutex(h);
        CloseHandle(h);
        return 0;
      },
      &probe, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return probe.wait == WAIT_OBJECT_0 || probe.wait == WAIT_ABANDONED;
}

bool MutexExists(const std::wstring& name) {
  HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
  if (h == nullptr) return false;
  CloseHandle(h);
  return true;
}

TEST(SingleInstance, FirstInstanceCreatesTheMutexOwned) {
  const std::wstring name = TestMutexName(L"first");
  InstanceMutex first(name.c_str());
  EXPECT_FALSE(CheckOtherInstance(first));
  EXPECT_TRUE(first.Owns());
  EXPECT_FALSE(FreeForAnotherThread(name));

  // What a second start sees: the mutex already there.
  HANDLE second = CreateMutexW(nullptr, TRUE, name.c_str());
  const DWORD error = GetLastError();
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), error);
  CloseHandle(second);

  InstanceMutex another(name.c_str());
  EXPECT_TRUE(CheckOtherInstance(another));
  EXPECT_FALSE(another.Owns());
}

TEST(SingleInstance, ReleaseLetsTheNameDisappear) {
  const std::wstring name = TestMutexName(L"release");
  {
    InstanceMutex mutex(name.c_str());
    EXPECT_FALSE(CheckOtherInstance(mutex));
    mutex.Release();
    EXPECT_FALSE(mutex.HoldsHandle());
    EXPECT_FALSE(MutexExists(name));
    EXPECT_FALSE(CheckOtherInstance(mutex));  // created afresh and owned again
    EXPECT_TRUE(mutex.Owns());
  }
  EXPECT_FALSE(MutexExists(name));  // the destructor closed it
}

TEST(SingleInstance, MultipleOptionReleasesAndRecreates) {
  const std::wstring name = TestMutexName(L"multiple");
  InstanceMutex mutex(name.c_str());
  ASSERT_FALSE(CheckOtherInstance(mutex));
  ApplyMultipleOption(mutex, 1);
  EXPECT_FALSE(MutexExists(name));

  ApplyMultipleOption(mutex, 0);
  EXPECT_TRUE(mutex.Owns());
  EXPECT_FALSE(FreeForAnotherThread(name));
  ApplyMultipleOption(mutex, 0);  // already held: stays as it is
  EXPECT_TRUE(mutex.Owns());

  // Turned off while another instance holds the mutex: this one opens it but does not own it.
  InstanceMutex other(name.c_str());
  ApplyMultipleOption(other, 0);
  EXPECT_TRUE(other.HoldsHandle());
  EXPECT_FALSE(other.Owns());
  EXPECT_TRUE(other.OtherInstanceSeen());
}

TEST(SingleInstance, HandOverMessageIsRegisteredUnderTheJapaneseName) {
  const UINT message = HandOverMessage();
  EXPECT_GE(message, 0xC000u);
  EXPECT_EQ(message, RegisterWindowMessageW(L"こ～ばりす～ず"));
  EXPECT_NE(message, RegisterWindowMessageW(L"Korvalith"));
}

}  // namespace
}  // namespace korval
