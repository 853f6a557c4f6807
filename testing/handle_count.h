// How many kernel handles this process holds open, for tests that prove that work leaves none behind.
#pragma once

#include <cstddef>

namespace korval {

// The system's own count where it keeps one; otherwise (Wine answers 0) every handle value up to a
// bound is asked about.
size_t OpenHandleCount();

}  // namespace korval
