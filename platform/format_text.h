// printf-style formatting of wide texts with the Windows meaning of "%s" (a wide string), so the
// message and file-name patterns read exactly as the program shows and stores them.
#pragma once

#include <cstdarg>
#include <string>

namespace korval {

// Formats a text of any length.
std::wstring FormatText(const wchar_t* pattern, ...);
std::wstring FormatTextV(const wchar_t* pattern, va_list args);

}  // namespace korval
