// Named mutexes as machine-wide locks.
#include "platform/named_lock.h"

#include <windows.h>

namespace korval {
namespace {

// A mutex name may not hold backslashes, and the same folder may be spelt in other letter cases.
std::wstring MutexName(const std::wstring& key) {
  std::wstring name = key;
  if (!name.empty()) CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  for (wchar_t& c : name) {
    if (c == L'\\') c = L'/';
  }
  return L"Local\\korvalith-" + name;
}

}  // namespace

NamedLock::NamedLock(const std::wstring& key, unsigned long waitMs)
    : mutex_(CreateMutexW(nullptr, FALSE, MutexName(key).c_str())) {
  if (!mutex_) return;
  // An abandoned lock (its holder was killed) passes to the next run.
  const DWORD waited = WaitForSingleObject(mutex_.Get(), waitMs);
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

NamedLock::~NamedLock() {
  if (held_) ReleaseMutex(mutex_.Get());
}

}  // namespace korval
