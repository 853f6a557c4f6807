// Building the exception word lists.
#include "modes/exception_word_list.h"

namespace korval {
namespace {

constexpr size_t kNormalisedLength = 38;  // a 39th character is kept as typed

bool IsLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
wchar_t AsciiLower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }
wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

wchar_t Normal(wchar_t c, int list, size_t position) {
  if (list == 0) return AsciiLower(c);
  if (list == 1) return AsciiUpper(c);
  return position == 0 ? AsciiUpper(c) : AsciiLower(c);
}

}  // namespace

ExceptionWordList BuildExceptionWordList(const std::wstring& text, int list) {
  ExceptionWordList words;
  ExceptionWord current;
  auto close = [&] {
    if (!current.typed.empty() && words.size() < kMaxExceptionWords) words.push_back(current);
    current = ExceptionWord{};
  };
  for (wchar_t c : text) {
    if (c == L' ') {
      close();
      continue;
    }
    const bool wordChar = IsLetter(c) || (!current.typed.empty() && (c == L'_' || c == L'-' || c == L'.'));
    if (!wordChar) continue;
    const size_t position = current.typed.size();
    current.typed.push_back(c);
    current.normal.push_back(position < kNormalisedLength ? Normal(c, list, position) : c);
    if (current.typed.size() == kMaxExceptionWordLength) close();
  }
  close();
  return words;
}

}  // namespace korval
