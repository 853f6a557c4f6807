// The small string helpers every transform shares: clamps, bounded cuts, escapes, replacement,
// wildcards and the path split.
#pragma once

#include <string>
#include <string_view>

namespace korval {

// The value moved into [low, high].
int Clamp(int low, int value, int high);
// The test form: whether the value lies in [low, high].
bool InRange(int low, int value, int high);

// Ends the text after n characters when it is longer; reports whether it cut.
bool Truncate(std::wstring& text, size_t n);

// Replaces every "\u" followed by exactly four characters of 0-9 and a-f (lower case) by that UTF-16
// code unit. The result is cut at limit - 1 characters; reports whether it was cut.
bool DecodeUnicodeEscapes(std::wstring& text, size_t limit);

// mode 0: the first occurrence; mode 1: every occurrence. The search goes on behind the inserted
// text. The result is cut at capacity - 1; a capacity above 204,800 leaves the text unchanged.
void ReplaceText(std::wstring& text, size_t capacity, std::wstring_view search, std::wstring_view replacement,
                 int mode);

// Case-sensitive; "*" any run (also none), "?" one character; the whole name must match.
bool WildcardMatch(std::wstring_view pattern, std::wstring_view name);

// A path in its four parts: "C:" + "\photos\" + "img" + ".jpg". Each part at most kMaxBuiltPath characters.
// Whether text ends with ending, letters compared without case (file extensions).
bool EndsWithNoCase(std::wstring_view text, std::wstring_view ending);

struct PathParts {
  std::wstring drive;
  std::wstring folder;
  std::wstring stem;
  std::wstring extension;  // from the last "." of the last component on, dot included; may be empty

  std::wstring Joined() const { return drive + folder + stem + extension; }
  std::wstring Directory() const { return drive + folder; }
};

PathParts SplitPath(std::wstring_view path);
// In folder mode (fileDir 1) a name is one piece: the extension is joined to the stem.
PathParts SplitPathForMode(std::wstring_view path, int fileDir);

}  // namespace korval
