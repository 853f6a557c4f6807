// The substitution command "s/PATTERN/REPLACEMENT/OPTIONS": its parts, its options and the pieces
// of the replacement text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "regex/code_point_text.h"
#include "regex/regex_traits.h"
#include "regex/repeated_groups.h"

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
  bool extendedBrackets = false;  // "xx": also blanks inside brackets
  int ascii = 0;            // "a" (1), "aa" (2): \d, \s, \w and the POSIX classes are ASCII's
};

// Splits command into its parts; "\/" inside a part stands for "/". Returns false with a short
// message for a command of another form or an unknown option.
bool ParseCommand(std::wstring_view command, SubstCommand& out, std::wstring& message);

// $0 and $& (the match), $1..$9 and ${n} (groups by number), $+{name} (a named group), "\\" (a
// backslash), \n and \t; any other backslash keeps the character after it; a "$" in any other place
// is itself.
std::vector<ReplacementPiece> ParseReplacement(std::wstring_view replacement);

// A stretch of the result copied from the text, in UTF-16 units: the ANSI library gives those
// stretches back as the very bytes they were read from.
struct SourceSpan {
  size_t resultFirst;
  size_t sourceFirst;
  size_t length;
};

// Builds a result from pieces of the text (by code point) and new text, noting the copied pieces
// when spans is given.
class ResultWriter {
 public:
  ResultWriter(const CodePointText& text, std::wstring& out, std::vector<SourceSpan>* spans)
      : text_(text), out_(out), spans_(spans) {}
  void Original(size_t firstCode, size_t lastCode);
  void New(std::wstring_view text) { out_ += text; }
  const CodePointText& Text() const { return text_; }
  size_t Size() const { return out_.size(); }

 private:
  const CodePointText& text_;
  std::wstring& out_;
  std::vector<SourceSpan>* spans_;
};

// Appends the replacement for match (over the code points of the writer's text); a group that did
// not take part, does not exist in the pattern, or is emptied by resets, adds nothing.
void AppendReplacement(const std::vector<ReplacementPiece>& pieces, const Match& match,
                       const std::vector<GroupReset>& resets, ResultWriter& out);

}  // namespace korval::regex
