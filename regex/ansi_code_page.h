// The ANSI library's only contact with the system code page: text in and out of UTF-16.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korval::regex {

// ANSI code page to UTF-16; bytes the code page cannot read become its replacement character.
std::wstring AnsiToWide(std::string_view ansi);

// As AnsiToWide, one character at a time, noting where each UTF-16 unit starts in ansi (and, last,
// the end), so the bytes behind any stretch of the text can be given back as they were. A lead byte
// without a valid second byte is a character of its own (U+FFFD) and leaves the next byte alone.
std::wstring AnsiToWideMapped(std::string_view ansi, std::vector<uint32_t>& unitStarts);

// UTF-16 to the ANSI code page without best-fit mapping: a character the code page lacks becomes
// "?" instead of a look-alike (a yen sign must not turn into a backslash).
std::string WideToAnsi(std::wstring_view wide);

// As WideToAnsi, cut after the last whole character that fits in maxBytes bytes.
std::string WideToAnsiCut(std::wstring_view wide, size_t maxBytes);

}  // namespace korval::regex
