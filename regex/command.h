// The substitution command "s/PATTERN/REPLACEMENT/OPTIONS": its parts, its options and the pieces
// of the replacement text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "regex/code_point_text.h"
#include "regex/regex_traits.h"

namespace korval::regex {

// A piece of the replacement: literal text, or the text of a capture group (0 = the whole match),
// by number or by name.
struct ReplacementPiece {
  std::wstring text;  // the literal text, or the group's name
  int group = -1;     // kLiteralPiece, kNamedGroup (text names the group), or the group's number
};
inline constexpr int kLiteralPiece = -1;
inline constexpr int kNamedGroup = -2;

struct SubstCommand {
  std::wstring pattern;
  std::vector<ReplacementPiece> replacement;
  bool global = false;      // "g": every match, otherwise the first
  bool ignoreCase = false;  // "i"
  bool multiLine = false;   // "m": ^ and $ also at a line break inside the text
  bool singleLine = false;  // "s": "." also matches a line break
  bool extended = false;    // "x": blanks and #-comments in the pattern are ignored
};

// Splits command into its parts; "\/" inside a part stands for "/". Returns false with a short
// message for a command of another form or an unknown option.
bool ParseCommand(std::wstring_view command, SubstCommand& out, std::wstring& message);

// $0 and $& (the match), $1..$9 and ${n} (groups by number), $+{name} (a named group), "\\" (a
// backslash), \n and \t; any other backslash keeps the character after it; a "$" in any other place
// is itself.
std::vector<ReplacementPiece> ParseReplacement(std::wstring_view replacement);

// Appends the replacement for match (over the code points of text) to out; a group that did not take
// part, or does not exist in the pattern, adds nothing.
void AppendReplacement(const std::vector<ReplacementPiece>& pieces, const Match& match, const CodePointText& text,
                       std::wstring& out);

}  // namespace korval::regex
