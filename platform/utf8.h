// UTF-8 text from UTF-16: for files that are read as UTF-8 (reports) and for test output.
#pragma once

#include <string>
#include <string_view>

namespace korval {

// Unpaired surrogates become U+FFFD, as the system's conversion makes them.
// prefix (a byte order mark) comes first, so that a large text is not copied once more behind it.
std::string Utf8(const std::wstring& text, std::string_view prefix = {});

}  // namespace korval
