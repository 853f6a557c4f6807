// The editor's command line: "/macroN" chooses the slot shown at start.
#pragma once

#include <string>
#include <vector>

namespace korval {

// The slot 1..25 the first two arguments ask for with "/macro" and one digit 1..9 or two digits
// 10..25; 1 when neither does.
int SlotFromArguments(const std::vector<std::wstring>& arguments);

// The arguments of the process's command line, without the program name.
std::vector<std::wstring> ProgramArguments();

}  // namespace korval
