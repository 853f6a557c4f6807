// Escaped conversion between UTF-16 and the ANSI code page, without best-fit mapping so that a
// character the code page lacks becomes "?" (and then an escape) rather than a look-alike.
#include "platform/ansi_escape.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace korval {
namespace {

constexpr int kEscapeLength = 6;  // "\u" and four hex digits

std::string ToAnsi(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(bytes > 0 ? bytes : 0, '\0');
  if (bytes > 0) WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

std::wstring ToWide(const char* ansi, int length) {
  if (length <= 0) return {};
  const int chars = MultiByteToWideChar(CP_ACP, 0, ansi, length, nullptr, 0);
  std::wstring wide(chars > 0 ? chars : 0, L'\0');
  if (chars > 0) MultiByteToWideChar(CP_ACP, 0, ansi, length, wide.data(), chars);
  return wide;
}

// Copies at most maxBytes bytes of ansi into out and terminates, never splitting a double-byte
// character. Returns whether everything fitted.
bool CopyAnsiBounded(const std::string& ansi, char* out, int maxBytes) {
  size_t end = 0;
  while (end < ansi.size()) {
    const size_t step = (IsDBCSLeadByte(static_cast<BYTE>(ansi[end])) && end + 1 < ansi.size()) ? 2 : 1;
    if (static_cast<int>(end + step) > maxBytes) break;
    end += step;
  }
  std::copy_n(ansi.data(), end, out);
  out[end] = '\0';
  return end == ansi.size();
}

// The bytes each character of text takes in the ANSI code page (one or two).
std::vector<int> AnsiWidths(const std::wstring& text) {
  const std::string ansi = ToAnsi(text.data(), static_cast<int>(text.size()));
  std::vector<int> widths;
  widths.reserve(text.size());
  for (size_t at = 0; at < ansi.size() && widths.size() < text.size();) {
    const int width = IsDBCSLeadByte(static_cast<BYTE>(ansi[at])) && at + 1 < ansi.size() ? 2 : 1;
    widths.push_back(width);
    at += static_cast<size_t>(width);
  }
  widths.resize(text.size(), 1);
  return widths;
}

bool CopyWideBounded(const std::wstring& text, wchar_t* out, int maxChars) {
  const size_t length = std::min(text.size(), static_cast<size_t>(std::max(maxChars, 0)));
  std::copy_n(text.data(), length, out);
  out[length] = L'\0';
  return length == text.size();
}

bool IsLowerHexDigit(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

int HexValue(wchar_t c) { return c <= L'9' ? c - L'0' : c - L'a' + 10; }

// Delivers the wide result either as ANSI into out or over the wide input.
int Deliver(const std::wstring& text, wchar_t* wide, char* out, int capacity, int result) {
  bool whole;
  if (out) {
    whole = capacity >= 2 ? CopyAnsiBounded(ToAnsi(text.data(), static_cast<int>(text.size())), out, capacity - 2)
                          : (out[0] = '\0', text.empty());
  } else {
    whole = CopyWideBounded(text, wide, capacity - 1);
  }
  return whole ? result : 1;
}

}  // namespace

int WideToAnsiEscaped(wchar_t* wide, char* out, int capacity) {
  if (!wide || capacity <= 0) return 1;
  const int length = static_cast<int>(wcslen(wide));
  if (length == 0) {
    if (out) out[0] = '\0';
    return 0;
  }
  // Windows turns a surrogate pair into one "?", which would change the count and leave every
  // other character of the text unescaped; escaping each half instead keeps the character.
  const std::wstring roundTrip = [&] {
    std::wstring probe(wide, length);
    for (wchar_t& c : probe) {
      if (c >= 0xD800 && c <= 0xDFFF) c = L'?';
    }
    const std::string ansi = ToAnsi(probe.data(), length);
    return ToWide(ansi.data(), static_cast<int>(ansi.size()));
  }();
  if (static_cast<int>(roundTrip.size()) != length) {
    Deliver(roundTrip, wide, out, capacity, 1);
    return 1;
  }

  // What the delivery keeps, in its own units: ANSI bytes, or wide characters. An escape is written
  // only when it fits whole into that, so the delivery never cuts one in half.
  const int kept = out ? capacity - 2 : capacity - 1;
  const std::vector<int> widths = out ? AnsiWidths(roundTrip) : std::vector<int>(roundTrip.size(), 1);
  int used = 0;
  std::wstring escaped;
  bool terminated = false;
  for (int i = 0; i <= length && static_cast<int>(escaped.size()) < capacity; ++i) {
    if (i == length) {
      terminated = true;
      break;
    }
    const int room = capacity - static_cast<int>(escaped.size());
    if (wide[i] != L'?' && roundTrip[i] == L'?' && room >= kEscapeLength && used + kEscapeLength <= kept) {
      wchar_t escape[kEscapeLength + 1];
      _snwprintf(escape, kEscapeLength + 1, L"\\u%04x", static_cast<unsigned>(wide[i]));
      escaped.append(escape, kEscapeLength);
      used += kEscapeLength;
    } else {
      escaped.push_back(roundTrip[i]);
      used += widths[i];
    }
  }
  if (static_cast<int>(escaped.size()) > capacity) escaped.resize(capacity);
  return Deliver(escaped, wide, out, capacity, terminated ? 0 : 1);
}

int AnsiToWideUnescaped(wchar_t* out, const char* ansi, int capacity) {
  if (!out || capacity <= 0) return 1;
  const size_t scratchLimit = static_cast<size_t>(capacity) * kEscapeLength;
  std::wstring scratch = ansi ? ToWide(ansi, static_cast<int>(strlen(ansi))) : std::wstring(out, wcsnlen(out, capacity));
  if (scratch.size() > scratchLimit) scratch.resize(scratchLimit);

  int written = 0;
  size_t i = 0;
  bool terminated = false;
  while (written < capacity) {
    if (i >= scratch.size()) {
      out[written] = L'\0';
      terminated = true;
      break;
    }
    if (scratch[i] == L'\\' && i + kEscapeLength <= scratch.size() && scratch[i + 1] == L'u' &&
        std::all_of(&scratch[i + 2], &scratch[i + 6], IsLowerHexDigit)) {
      int code = 0;
      for (size_t k = i + 2; k < i + 6; ++k) code = code * 16 + HexValue(scratch[k]);
      out[written++] = static_cast<wchar_t>(code);
      i += kEscapeLength;
    } else {
      out[written++] = scratch[i++];
    }
  }
  if (!terminated) out[capacity - 1] = L'\0';
  return terminated ? 0 : 1;
}

std::string ToAnsiEscaped(std::wstring_view text, int capacity) {
  std::vector<wchar_t> wide(text.begin(), text.end());
  wide.push_back(L'\0');
  std::vector<char> out(std::max(capacity, 1), '\0');
  WideToAnsiEscaped(wide.data(), out.data(), capacity);
  return out.data();
}

std::wstring FromAnsiUnescaped(std::string_view ansi, int capacity) {
  const std::string terminated(ansi);
  std::vector<wchar_t> out(std::max(capacity, 1), L'\0');
  AnsiToWideUnescaped(out.data(), terminated.c_str(), capacity);
  return out.data();
}

std::wstring AnsiRoundTrip(std::wstring_view text) {
  const std::string ansi = ToAnsi(text.data(), static_cast<int>(text.size()));
  return ToWide(ansi.data(), static_cast<int>(ansi.size()));
}

std::string ToAnsiPlain(std::wstring_view text) { return ToAnsi(text.data(), static_cast<int>(text.size())); }

std::wstring FromAnsiPlain(std::string_view ansi) { return ToWide(ansi.data(), static_cast<int>(ansi.size())); }

}  // namespace korval
