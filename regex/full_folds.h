// Under "i" Perl matches a character with the characters it folds to: "ß" with "ss", "ﬁ" with "fi",
// and "ss" in a pattern with "ß" in a name. The matcher folds one character to one only, so a run of
// literal characters is spelled out with the alternatives these folds allow.
#pragma once

#include <string>
#include <string_view>

namespace korval::regex {

// The run (plain characters of a pattern, read under "i") in the matcher's syntax with every place
// where one character may stand for several as an alternation; empty when the run has no such place
// or its spelling would grow too long (the run is then read as it is).
std::u32string SpellFoldedRun(std::u32string_view run);

}  // namespace korval::regex
