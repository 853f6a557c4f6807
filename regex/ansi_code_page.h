// The ANSI library's only contact with the system code page: text in and out of UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace korval::regex {

// ANSI code page to UTF-16; bytes the code page cannot read become its replacement character.
std::wstring AnsiToWide(std::string_view ansi);

// UTF-16 to the ANSI code page without best-fit mapping: a character the code page lacks becomes
// "?" instead of a look-alike (a yen sign must not turn into a backslash).
std::string WideToAnsi(std::wstring_view wide);

// As WideToAnsi, cut after the last whole character that fits in maxBytes bytes.
std::string WideToAnsiCut(std::wstring_view wide, size_t maxBytes);

}  // namespace korval::regex
