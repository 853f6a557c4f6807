// UTF-8 text from UTF-16: for files that are read as UTF-8 (reports) and for test output.
#pragma once

#include <string>

namespace korval {

// Unpaired surrogates become U+FFFD, as the system's conversion makes them.
std::string Utf8(const std::wstring& text);

}  // namespace korval
