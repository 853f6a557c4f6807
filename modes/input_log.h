// The switches of the setting `inputlog`: which input boxes keep a history of what was typed.
#pragma once

namespace korval {

inline constexpr int kLogFilter = 2;     // the narrowing filter
inline constexpr int kLogReplace = 4;    // the search and replacement texts
inline constexpr int kLogOther = 128;    // the extension, serial template and added text

}  // namespace korval
