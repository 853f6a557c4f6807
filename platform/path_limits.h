// The limits of names and paths, in UTF-16 units.
#pragma once

#include <cstddef>

namespace korval {

// The classic limit: buffers of 260 units, 259 characters and a terminator. A path this long or
// longer is reached here through "\\?\" (platform/system_path.h); Explorer and most programs open it
// only where the system takes long paths.
inline constexpr size_t kPathBuffer = 260;
inline constexpr size_t kMaxPathChars = kPathBuffer - 1;

// The longest path the system takes through "\\?\" (and everywhere where it takes long paths).
inline constexpr size_t kMaxLongPathChars = 32767;

// The longest name, one part of a path, that a file system of Windows holds.
inline constexpr size_t kMaxNameChars = 255;

// New names are built whole up to this length, so a name too long for its folder is shown, reported
// and refused as it is, never cut into another name (a cut can take the end of the extension).
inline constexpr size_t kMaxBuiltPath = kMaxLongPathChars;

}  // namespace korval
