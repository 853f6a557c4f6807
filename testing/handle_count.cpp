// Counting the process's open handles.
#include "testing/handle_count.h"

#include <windows.h>

#include <cstdint>

namespace korval {

size_t OpenHandleCount() {
  DWORD counted = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &counted) && counted > 0) return counted;
  // Handle values are multiples of four, given out from the lowest free one.
  constexpr std::uintptr_t kHighestValue = 0x10000;
  size_t open = 0;
  for (std::uintptr_t value = 4; value <= kHighestValue; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++open;
  }
  return open;
}

}  // namespace korval
