// Stored texts of the macro files: the escaped ANSI form of the file-list conversions with the
// macro files' own buffer limit, and the bit toggle that keeps NUL bytes out of the fields.
#include "macro/step_text.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "platform/ansi_escape.h"

namespace korval {
namespace {

constexpr size_t kEscapeLength = 6;  // "\u" and four hex digits

bool IsLowerHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

// The number of characters of the unit that starts at i: a whole escape, or one character.
size_t UnitLength(const std::wstring& text, size_t i) {
  if (text[i] == L'\\' && i + kEscapeLength <= text.size() && text[i + 1] == L'u') {
    bool escape = true;
    for (size_t k = i + 2; k < i + kEscapeLength; ++k) escape = escape && IsLowerHex(text[k]);
    if (escape) return kEscapeLength;
  }
  return 1;
}

}  // namespace

std::string EscapeStepText(std::wstring_view text) {
  const size_t length = std::min(text.size(), text.find(L'\0'));
  if (length == 0) return {};
  // The escaping works in place on a buffer of the stored form's capacity (or the text's size).
  std::vector<wchar_t> buffer(std::max(length + 1, kStepTextBuffer), L'\0');
  std::copy_n(text.data(), length, buffer.data());
  WideToAnsiEscaped(buffer.data(), nullptr, static_cast<int>(kStepTextBuffer));
  const std::wstring escaped(buffer.data());

  std::string ansi = ToAnsiPlain(escaped);
  if (ansi.size() <= kStepTextMaxBytes) return ansi;
  // Too long for the stored form: keep whole characters and whole escapes up to the limit, so the
  // text is cut rather than lost and no half escape or half double-byte character is stored.
  ansi.clear();
  for (size_t i = 0; i < escaped.size();) {
    const size_t unit = UnitLength(escaped, i);
    const std::string bytes = ToAnsiPlain(std::wstring_view(escaped).substr(i, unit));
    if (ansi.size() + bytes.size() > kStepTextMaxBytes) break;
    ansi += bytes;
    i += unit;
  }
  return ansi;
}

void ToggleStepBytes(std::string& bytes) {
  for (char& c : bytes) {
    if ((static_cast<unsigned char>(c) & 0x3F) != 0) c = static_cast<char>(c ^ 0x40);
  }
}

std::string EncodeStepText(std::wstring_view text) {
  std::string stored = EscapeStepText(text);
  ToggleStepBytes(stored);
  return stored;
}

std::wstring UnescapeStepText(std::string_view ansi, size_t maxChars) {
  const size_t length = std::min(ansi.size(), ansi.find('\0'));
  return FromAnsiUnescaped(ansi.substr(0, length), static_cast<int>(maxChars + 1));
}

std::wstring DecodeStepText(std::string_view stored) {
  std::string ansi(stored.substr(0, std::min(stored.size(), stored.find('\0'))));
  ToggleStepBytes(ansi);
  return UnescapeStepText(ansi);
}

}  // namespace korval
