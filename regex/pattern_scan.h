// Walking a pattern's own characters: those outside escapes and bracket expressions, which is where
// groups open and close.
#pragma once

#include <cstddef>
#include <string_view>

namespace korval::regex {

// Calls visit(i) for each position from `from` on whose character is neither escaped nor inside
// "[...]" (a "]" right after "[" or "[^" belongs to the bracket). visit returns false to stop there;
// returns where it stopped, or the pattern's size.
template <typename Char, typename Visit>
size_t ScanPattern(std::basic_string_view<Char> p, size_t from, Visit visit) {
  bool inBracket = false;
  for (size_t i = from; i < p.size(); ++i) {
    const Char c = p[i];
    if (c == Char('\\')) {
      ++i;
    } else if (inBracket) {
      if (c == Char(']')) inBracket = false;
    } else if (c == Char('[')) {
      inBracket = true;
      if (i + 1 < p.size() && p[i + 1] == Char('^')) ++i;
      if (i + 1 < p.size() && p[i + 1] == Char(']')) ++i;
    } else if (!visit(i)) {
      return i;
    }
  }
  return p.size();
}

// One past the ")" closing the group that opens at `open`, or npos when it is not closed.
template <typename Char>
size_t GroupEnd(std::basic_string_view<Char> p, size_t open) {
  int depth = 0;
  const size_t close = ScanPattern(p, open, [&](size_t i) {
    if (p[i] == Char('(')) ++depth;
    return !(p[i] == Char(')') && --depth == 0);
  });
  return close < p.size() ? close + 1 : std::basic_string_view<Char>::npos;
}

}  // namespace korval::regex
