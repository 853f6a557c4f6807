// Conversions between the ANSI code page and UTF-16 for the ANSI library.
#include "regex/ansi_code_page.h"

#include <windows.h>

#include <climits>

namespace korval::regex {

std::wstring AnsiToWide(std::string_view ansi) {
  if (ansi.empty() || ansi.size() > INT_MAX) return std::wstring();
  const int bytes = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  const int written = MultiByteToWideChar(CP_ACP, 0, ansi.data(), bytes, wide.data(), length);
  wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return wide;
}

std::wstring AnsiToWideMapped(std::string_view ansi, std::vector<uint32_t>& unitStarts) {
  std::wstring wide;
  unitStarts.clear();
  wide.reserve(ansi.size());
  unitStarts.reserve(ansi.size() + 1);
  for (size_t i = 0; i < ansi.size();) {
    const BYTE lead = static_cast<BYTE>(ansi[i]);
    size_t length = 1;
    wchar_t units[2] = {};
    int count = 0;
    if (IsDBCSLeadByteEx(CP_ACP, lead) && i + 1 < ansi.size()) {
      count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data() + i, 2, units, 2);
      if (count > 0) length = 2;
    }
    if (length == 1) {
      count = IsDBCSLeadByteEx(CP_ACP, lead) ? 0 : MultiByteToWideChar(CP_ACP, 0, ansi.data() + i, 1, units, 2);
      if (count <= 0) {
        units[0] = 0xFFFD;
        count = 1;
      }
    }
    for (int k = 0; k < count; ++k) {
      unitStarts.push_back(static_cast<uint32_t>(i));
      wide += units[k];
    }
    i += length;
  }
  unitStarts.push_back(static_cast<uint32_t>(ansi.size()));
  return wide;
}

std::string WideToAnsi(std::wstring_view wide) {
  if (wide.empty() || wide.size() > INT_MAX / 4) return std::string();
  const int units = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string ansi(static_cast<size_t>(bytes), '\0');
  const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), units, ansi.data(),
                                          bytes, nullptr, nullptr);
  ansi.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return ansi;
}

std::string WideToAnsiCut(std::wstring_view wide, size_t maxBytes) {
  std::string ansi = WideToAnsi(wide);
  // Dropping whole UTF-16 units from the end never leaves half a double-byte character behind.
  while (ansi.size() > maxBytes && !wide.empty()) {
    wide.remove_suffix(1);
    ansi = WideToAnsi(wide);
  }
  return ansi;
}

}  // namespace korval::regex
