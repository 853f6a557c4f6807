// Finding the groups Perl empties per repetition, from the pattern's structure.
#include "regex/repeated_groups.h"

#include <cstddef>

#include "regex/pattern_scan.h"

namespace korval::regex {
namespace {

using View = std::u32string_view;

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

struct Count {
  bool allowsNone = false;  // the least count is 0
  bool repeats = false;     // the most count is above 1
};

// The count written right after position i ("?", "*", "+", "{n}", "{n,}", "{n,m}").
Count CountAfter(View p, size_t i) {
  if (i >= p.size()) return {};
  switch (p[i]) {
    case U'?': return {true, false};
    case U'*': return {true, true};
    case U'+': return {false, true};
    case U'{': break;
    default: return {};
  }
  size_t k = i + 1;
  unsigned long least = 0, most = 0;
  bool comma = false, mostGiven = false;
  for (; k < p.size() && p[k] != U'}'; ++k) {
    if (p[k] == U',' && !comma) {
      comma = true;
    } else if (IsDigit(p[k])) {
      unsigned long& n = comma ? most : least;
      n = n < 100000 ? n * 10 + (p[k] - U'0') : n;
      mostGiven |= comma;
    } else {
      return {};
    }
  }
  if (k >= p.size()) return {};
  if (!comma) most = least;
  return {least == 0, (comma && !mostGiven) || most > 1};
}

struct Group {
  int number = 0;           // 0: does not capture
  bool lookAround = false;  // (?=, (?!, (?<=, (?<!
  int parent = -1;          // index of the group around it, -1: none
  Count count;              // the count written after its ")"
};

}  // namespace

std::vector<GroupReset> GroupsResetPerRepetition(View p, bool extended) {
  // With blanks and comments allowed, or text quoted by \Q, a "(" may be no group.
  if (extended || p.find(U"\\Q") != View::npos) return {};
  std::vector<Group> groups;
  std::vector<int> open;  // indexes into groups
  int captures = 0;
  bool renumbered = false;
  ScanPattern(p, 0, [&](size_t i) {
    if (p[i] == U'(') {
      const View rest = p.substr(i + 1);
      const bool question = !rest.empty() && rest[0] == U'?';
      const char32_t kind = rest.size() >= 2 ? rest[1] : U'\0';
      const char32_t after = rest.size() >= 3 ? rest[2] : U'\0';
      // Renumbered groups, a comment, or blanks and comments switched on inside: no count of groups
      // made here can be trusted.
      const size_t flagsEnd = question ? rest.find_first_not_of(U"imsxnpadlu^-", 1) : View::npos;
      const View flags = flagsEnd != View::npos ? rest.substr(1, flagsEnd - 1) : View();
      const bool extendedInside = flags.find(U'x') < flags.find(U'-');
      if (question && (kind == U'|' || kind == U'#' || extendedInside)) {
        renumbered = true;
        return false;
      }
      Group group;
      if (rest.empty() || (!question && rest[0] != U'*') ||
          (question && ((kind == U'<' && after != U'=' && after != U'!') || kind == U'\'' ||
                        (kind == U'P' && after == U'<')))) {
        group.number = ++captures;
      } else if (question && (kind == U'=' || kind == U'!' || (kind == U'<' && (after == U'=' || after == U'!')))) {
        group.lookAround = true;
      }
      group.parent = open.empty() ? -1 : open.back();
      groups.push_back(group);
      open.push_back(static_cast<int>(groups.size() - 1));
    } else if (p[i] == U')' && !open.empty()) {
      groups[static_cast<size_t>(open.back())].count = CountAfter(p, i + 1);
      open.pop_back();
    }
    return true;
  });
  std::vector<GroupReset> resets;
  if (renumbered) return resets;
  for (const Group& group : groups) {
    if (group.number == 0 || !group.count.allowsNone) continue;
    int within = 0;
    bool repeated = false;
    bool blocked = false;
    for (int k = group.parent; k >= 0; k = groups[static_cast<size_t>(k)].parent) {
      const Group& outer = groups[static_cast<size_t>(k)];
      repeated |= outer.count.repeats;
      if (within == 0 && outer.lookAround) blocked = true;
      if (within == 0 && !blocked && outer.number != 0) within = outer.number;
    }
    if (within != 0 && repeated) resets.push_back({group.number, within});
  }
  return resets;
}

}  // namespace korval::regex
