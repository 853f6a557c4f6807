// A lock shared by every process of the machine that names the same thing: the runs of one program
// folder take turns on its change log with it. A holder that dies releases it.
#pragma once

#include <string>

#include "platform/scoped_handle.h"

namespace korval {

class NamedLock {
 public:
  // Waits until the lock for key (compared without regard to letter case) is free and takes it, at
  // most waitMs milliseconds. Held() is false when the wait ran out or the system could not make the
  // lock.
  NamedLock(const std::wstring& key, unsigned long waitMs);
  ~NamedLock();
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;

  bool Held() const { return held_; }

 private:
  ScopedKernelHandle mutex_;
  bool held_ = false;
};

}  // namespace korval
