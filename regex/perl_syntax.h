// Perl's pattern syntax as users copy it from Perl's documentation, rewritten into what the matcher
// reads: spellings it lacks are translated (\N, \o{...}, octal escapes, (?P<name>...), \k{name},
// {,n}, a "{" that is no count, (*FAIL), \p{^...}, the modifiers a/u/l/d and "^"), brackets with
// several negated classes become an equivalent group, and what cannot be had is refused with a
// message that names it.
#pragma once

#include <string>
#include <string_view>

namespace korval::regex {

// The options a pattern starts with that change how it is read.
struct PatternModes {
  bool multiLine = false;      // "m"
  bool bracketBlanks = false;  // "xx": blanks inside brackets are ignored too
  bool caseless = false;       // "i"
  bool extended = false;       // "x": pattern blanks are only for reading
  int ascii = 0;               // "a" (1) and "aa" (2): \d, \s, \w, \b and the POSIX classes are ASCII's
};

// False with message (naming the construct, in Japanese) when the pattern uses what is not supported.
bool TranslatePerlSyntax(std::u32string_view pattern, const PatternModes& modes, std::u32string& out,
                         std::wstring& message);

}  // namespace korval::regex
