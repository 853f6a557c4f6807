// Perl's pattern syntax as users copy it from Perl's documentation, rewritten into what the matcher
// reads: spellings it lacks are translated (\N, \o{...}, octal escapes, (?P<name>...), \k{name},
// {,n}, a "{" that is no count, (*FAIL), \p{^...}, the modifiers a/u/l/d and "^"), brackets with
// several negated classes become an equivalent group, and what cannot be had is refused with a
// message that names it.
#pragma once

#include <string>
#include <string_view>

namespace korval::regex {

// multiLine: the pattern starts with "m" on. False with message (naming the construct, in Japanese)
// when the pattern uses what is not supported.
bool TranslatePerlSyntax(std::u32string_view pattern, bool multiLine, std::u32string& out, std::wstring& message);

}  // namespace korval::regex
