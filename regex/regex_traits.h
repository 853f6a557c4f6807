// The pattern type both libraries compile to: Perl syntax on UTF-16 text, with the character traits
// of the Japanese locale's case folding (full-width Latin letters included) whatever locale the host
// set. The matcher keeps its state on the heap, not on the stack, so a long text or a deep pattern
// needs no large stack; a match that grows beyond its bounds stops with an error instead.
#pragma once

#include <boost/regex.hpp>

namespace korval::regex {

using Traits = boost::cpp_regex_traits<wchar_t>;
using Regex = boost::basic_regex<wchar_t, Traits>;
using Match = boost::match_results<const wchar_t*>;

}  // namespace korval::regex
