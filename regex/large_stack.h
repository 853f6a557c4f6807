// A large stack to match on. The standard regular expressions match by recursion, one level per
// character and per pattern step, so a long text or a deeply built pattern would overflow the
// caller's stack (a crash no handler can catch); on this stack it has room.
#pragma once

#include <cstddef>

namespace korval::regex {

// Address space reserved for the stack; pages are committed only as the recursion reaches them.
inline constexpr size_t kLargeStackBytes = size_t{1} << 30;

// Runs work(context) on the large stack and returns true; returns false without running it when
// the stack cannot be set up. Calls from several threads take turns. work must not throw.
bool RunOnLargeStack(void (*work)(void*), void* context) noexcept;

}  // namespace korval::regex
