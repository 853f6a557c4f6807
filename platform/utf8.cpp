// UTF-16 to UTF-8 through the system's conversion.
#include "platform/utf8.h"

#include <windows.h>

namespace korval {

std::string Utf8(const std::wstring& text, std::string_view prefix) {
  std::string out(prefix);
  if (text.empty()) return out;
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  out.resize(prefix.size() + static_cast<size_t>(size));
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data() + prefix.size(), size, nullptr,
                      nullptr);
  return out;
}

}  // namespace korval
