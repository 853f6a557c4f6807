// Wide formatting through the C runtime of the system, where "%s" takes a wide string; the C99
// formatting that mingw's swprintf may select reads "%s" as a narrow string instead.
#include "platform/format_text.h"

#include <cwchar>
#include <iterator>
#include <stdio.h>
#include <vector>

namespace korval {

std::wstring FormatTextV(const wchar_t* pattern, va_list args) {
  // Most texts are short: try a buffer on the stack before allocating one.
  wchar_t small[512];
  va_list first;
  va_copy(first, args);
  const int length = _vsnwprintf(small, std::size(small) - 1, pattern, first);
  va_end(first);
  if (length >= 0 && static_cast<size_t>(length) < std::size(small) - 1) return std::wstring(small, length);

  std::vector<wchar_t> buffer(4096);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    const int written = _vsnwprintf(buffer.data(), buffer.size() - 1, pattern, copy);
    va_end(copy);
    if (written >= 0 && static_cast<size_t>(written) < buffer.size() - 1) return std::wstring(buffer.data(), written);
    if (buffer.size() >= (1u << 20)) {
      buffer.back() = L'\0';
      return std::wstring(buffer.data());
    }
    buffer.resize(buffer.size() * 4);
  }
}

std::wstring FormatText(const wchar_t* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  std::wstring text = FormatTextV(pattern, args);
  va_end(args);
  return text;
}

}  // namespace korval
