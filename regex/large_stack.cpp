// The large stack is one fiber, made on first use and switched to for each call: a switch costs
// far less than handing the work to a thread, and the caller's thread is left as it was found.
#include "regex/large_stack.h"

#include <windows.h>

namespace korval::regex {
namespace {

constexpr size_t kInitialCommit = 64 * 1024;

struct LargeStack {
  SRWLOCK lock = SRWLOCK_INIT;
  void* fiber = nullptr;
  void* caller = nullptr;
  void (*work)(void*) = nullptr;
  void* context = nullptr;

  // The fiber is never running here: every call switches back before it returns.
  ~LargeStack() {
    if (fiber != nullptr) DeleteFiber(fiber);
  }
};

LargeStack& TheStack() {
  static LargeStack stack;
  return stack;
}

void WINAPI FiberMain(void* parameter) {
  auto* stack = static_cast<LargeStack*>(parameter);
  for (;;) {
    stack->work(stack->context);
    SwitchToFiber(stack->caller);
  }
}

// GCC 12 takes the system header's read of the thread block for an out-of-bounds array access.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
void* CurrentFiber() { return GetCurrentFiber(); }
#pragma GCC diagnostic pop

class SrwGuard {
 public:
  explicit SrwGuard(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~SrwGuard() { ReleaseSRWLockExclusive(&lock_); }
  SrwGuard(const SrwGuard&) = delete;
  SrwGuard& operator=(const SrwGuard&) = delete;

 private:
  SRWLOCK& lock_;
};

}  // namespace

bool RunOnLargeStack(void (*work)(void*), void* context) noexcept {
  LargeStack& stack = TheStack();
  SrwGuard guard(stack.lock);
  if (stack.fiber == nullptr) {
    stack.fiber = CreateFiberEx(kInitialCommit, kLargeStackBytes, FIBER_FLAG_FLOAT_SWITCH, FiberMain, &stack);
    if (stack.fiber == nullptr) return false;
  }
  // A thread must be a fiber to switch to one; a thread we convert is converted back afterwards.
  const bool wasFiber = IsThreadAFiber() != FALSE;
  void* caller = wasFiber ? CurrentFiber() : ConvertThreadToFiberEx(nullptr, FIBER_FLAG_FLOAT_SWITCH);
  if (caller == nullptr) return false;
  stack.caller = caller;
  stack.work = work;
  stack.context = context;
  SwitchToFiber(stack.fiber);
  if (!wasFiber) ConvertFiberToThread();
  return true;
}

}  // namespace korval::regex
