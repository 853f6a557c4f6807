// Ranges of a bracket under "i" as Perl reads them: a character matches when it, or the character it
// folds to, lies in the range. The matcher instead folds the range's ends and the character it tests,
// which misses [\x3f-\x5F] for "a" (its fold "a" lies outside, its capital inside) and refuses
// [W-c] (whose folded ends "w" and "c" run backwards).
#pragma once

#include <string>
#include <string_view>

namespace korval::regex {

// Appends code point value as the escape "\x{HEX}".
void AppendHexEscape(uint32_t value, std::u32string& out);

// The bracket's inner text (as the translator writes it: characters, "\x{HEX}" and "\c" escapes,
// "[:name:]" classes) with each range that holds a character of another case written as the folded
// characters of the range, in runs, which the matcher then finds as Perl does.
std::u32string CaselessRanges(std::u32string_view inner);

}  // namespace korval::regex
