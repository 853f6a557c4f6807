// Upper/lower-case mapping as the Japanese locale does it (full-width Latin letters included), and a
// C++ locale that gives the regular expressions exactly that mapping whatever locale the host set.
#pragma once

#include <locale>

namespace korval::regex {

// One UTF-16 unit at a time; units the locale does not map (and surrogates) stay as they are.
wchar_t FoldLower(wchar_t c);
wchar_t FoldUpper(wchar_t c);

// The classic locale with a character-type facet that maps case through FoldLower/FoldUpper and
// narrows only ASCII, so no byte of a Japanese character is ever read as a pattern character.
const std::locale& FoldingLocale();

}  // namespace korval::regex
