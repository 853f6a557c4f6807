// The one limit of names and paths: buffers of 260 UTF-16 units, 259 characters and a terminator.
#pragma once

#include <cstddef>

namespace korval {

inline constexpr size_t kPathBuffer = 260;
inline constexpr size_t kMaxPathChars = kPathBuffer - 1;

}  // namespace korval
