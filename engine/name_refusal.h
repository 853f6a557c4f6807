// Names the system refuses, or silently changes, although they pass the character checks: the
// preview marks them invalid so that a run never attempts them, and says why.
#pragma once

#include <string_view>

namespace korval {

// Why the name (without folder) cannot be given, as the hint says it; null when nothing is wrong.
// Reserved device names (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension), a trailing dot or
// space (the system drops it), a character below U+0020, half of a surrogate pair, more than 255
// characters.
const wchar_t* RefusedNameReason(std::wstring_view name);

}  // namespace korval
