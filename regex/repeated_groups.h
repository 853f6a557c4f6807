// Perl empties a group whose own count let it match nothing in the last repetition around it
// ("(b)?" in "^(a(b)?)+$"); our matcher keeps that group's text from an earlier repetition. Such a
// group's text then lies outside the last match of the capturing group around it, which tells it.
#pragma once

#include <string_view>
#include <vector>

namespace korval::regex {

struct GroupReset {
  int group;   // a group with a count that allows none, inside something repeated
  int within;  // the nearest capturing group around it
};

// The groups of a pattern (in the matcher's syntax) to empty when their text lies outside that of
// `within`. None for a pattern whose "(" may be no group or whose groups are renumbered: one read
// with blanks and comments allowed (extended, or "(?x)" inside), holding comments or "\Q" quoting,
// or "(?|...)".
std::vector<GroupReset> GroupsResetPerRepetition(std::u32string_view pattern, bool extended = false);

}  // namespace korval::regex
