// The instance mutex and the registered hand-over message.
#include "config/single_instance.h"

namespace korval {

bool InstanceMutex::Create() {
  if (handle_.Valid()) return otherSeen_;
  HANDLE h = CreateMutexW(nullptr, TRUE, name_);
  const DWORD error = GetLastError();
  if (h == nullptr) {
    // The name exists as another kind of object or cannot be opened: treat it as taken, since
    // something answers to our name.
    owned_ = false;
    otherSeen_ = error == ERROR_INVALID_HANDLE || error == ERROR_ACCESS_DENIED;
    return otherSeen_;
  }
  handle_.Reset(h);
  // An existing mutex is opened, not acquired: the initial ownership request is ignored then.
  otherSeen_ = error == ERROR_ALREADY_EXISTS;
  owned_ = !otherSeen_;
  return otherSeen_;
}

void InstanceMutex::Release() {
  if (!handle_.Valid()) return;
  if (owned_) ReleaseMutex(handle_.Get());
  owned_ = false;
  handle_.Reset();
}

bool CheckOtherInstance(InstanceMutex& mutex) { return mutex.Create(); }

void ApplyMultipleOption(InstanceMutex& mutex, int multiple) {
  if (multiple == 1) {
    mutex.Release();
  } else if (!mutex.HoldsHandle()) {
    mutex.Create();
  }
}

UINT HandOverMessage() { return RegisterWindowMessageW(kInstanceObjectName); }

}  // namespace korval
