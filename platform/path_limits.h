// The one limit of names and paths: buffers of 260 UTF-16 units, 259 characters and a terminator.
#pragma once

#include <cstddef>

namespace korval {

inline constexpr size_t kPathBuffer = 260;
inline constexpr size_t kMaxPathChars = kPathBuffer - 1;

// New names are built whole up to this length, far beyond any path the file system takes here, so a
// name too long for its folder is shown, reported and refused as it is, never cut into another name
// (a cut can take the end of the extension). The bound keeps a runaway replacement small.
inline constexpr size_t kMaxBuiltPath = 1024;

}  // namespace korval
