// Decimal digits as every reader of the program takes them: ASCII "0" to "9" only (a full-width digit
// is no digit here), and numbers written with a fixed count of digits.
#pragma once

#include <cstddef>
#include <string_view>

namespace korval {

template <typename Char>
constexpr bool IsDigit(Char c) {
  return c >= Char('0') && c <= Char('9');
}

// The number written with exactly count digits (at most nine) from text[pos]; false, with value
// untouched, when the text is too short there or holds anything but digits.
inline bool ReadFixedDigits(std::wstring_view text, size_t pos, size_t count, int& value) {
  if (count > 9 || pos > text.size() || text.size() - pos < count) return false;
  int number = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (!IsDigit(text[i])) return false;
    number = number * 10 + (text[i] - L'0');
  }
  value = number;
  return true;
}

}  // namespace korval
