// The exception words of the letter case conversions, built from the texts the user typed.
#pragma once

#include <string>

#include "modes/mode_params.h"

namespace korval {

// list 0: normal form all lower case; 1: all upper case; 2: first letter upper, the rest lower.
// Words are apart by spaces; A-Z and a-z are word characters, "_", "-" and "." too except at the
// start of a word; anything else is skipped. At most 128 words of at most 39 characters.
ExceptionWordList BuildExceptionWordList(const std::wstring& text, int list);

}  // namespace korval
