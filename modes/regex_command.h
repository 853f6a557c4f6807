// The command handed to the regular expression library for one replacement item:
// "s/" + search + "/" + replacement + "/" + options.
#pragma once

#include <string>

namespace korval {

// Backslash rules: an escaped backslash is copied as it is; before a, c, t, n or r the backslash is
// dropped; before f, s, ":" or e in the replacement it becomes four backslashes, so the library
// writes a doubled sequence that survives for the special sequence expansion; any other backslash is
// copied and escapes the next character. Options: "k", "g" for every occurrence (repmode 0), "i"
// when the search ignores case (repcase 0).
std::wstring BuildRegexCommand(const std::wstring& search, const std::wstring& replacement, int repmode, int repcase);

}  // namespace korval
