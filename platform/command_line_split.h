// The process's command line split into its arguments by the system's rules for quotes and
// backslashes, without the shell library (whose loading would cost the start some milliseconds).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korval {

// As CommandLineToArgvW: the first argument is the program's path (up to the closing quote when it
// starts with one, else up to the first space or tab); in the others, blanks outside quotes
// separate, 2n backslashes before a quote give n and the quote opens or closes, 2n+1 give n and a
// literal quote, other backslashes stay, and the third of consecutive quotes is a literal quote. An
// empty line gives the path of the running program.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

// The arguments of this process, the program's path first.
std::vector<std::wstring> ProcessArguments();

}  // namespace korval
