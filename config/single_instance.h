// Only one main window by default: a named mutex tells a new start that another instance runs, and a
// registered window message carries the new start's paths over to it.
#pragma once

#include <windows.h>

#include "platform/scoped_handle.h"

namespace korval {

// The name of both the instance mutex and the hand-over message.
inline constexpr const wchar_t* kInstanceObjectName = L"こ～ばりす～ず";

// The instance mutex of this process. Created owned while this instance forbids a second one; a
// start that finds it already existing knows that another instance runs.
class InstanceMutex {
 public:
  // Tests pass a name of their own so that they do not meet a running program.
  explicit InstanceMutex(const wchar_t* name = kInstanceObjectName) : name_(name) {}

  // Creates (or opens) the named mutex, owned when this call created it. Does nothing when this
  // instance already holds a handle. Returns whether the mutex already existed.
  bool Create();

  // Gives the mutex up: released when this instance owns it, the handle closed either way, so the
  // name disappears once no other instance holds it.
  void Release();

  bool HoldsHandle() const { return handle_.Valid(); }
  bool Owns() const { return owned_; }
  // Whether the last Create found the mutex already there.
  bool OtherInstanceSeen() const { return otherSeen_; }

 private:
  const wchar_t* name_;
  ScopedKernelHandle handle_;
  bool owned_ = false;
  bool otherSeen_ = false;
};

// Called during window creation: creates the mutex and answers whether another instance holds it.
bool CheckOtherInstance(InstanceMutex& mutex);

// The options dialog changed `multiple`: 1 (several instances allowed) gives the mutex up, 0 creates
// it unless this instance holds one already.
void ApplyMultipleOption(InstanceMutex& mutex, int multiple);

// The registered hand-over message (wParam = lowest atom, lParam = highest atom); 0 if registration
// failed.
UINT HandOverMessage();

}  // namespace korval
