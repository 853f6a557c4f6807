// Decoding the text of tags: UTF-8, UTF-16 either way, Latin-1 that may really be Shift-JIS.
#include "metadata/tag_text.h"

#include <windows.h>

#include <cstdint>

namespace korval {
namespace {

std::string_view UpToNul(std::string_view bytes) {
  const size_t nul = bytes.find('\0');
  return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

void AppendCodePoint(std::wstring& out, uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
    out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<wchar_t>(cp);
  }
}

// Whether the bytes are Shift-JIS as the rule of TextFromLatin1 asks.
bool LooksLikeShiftJis(std::string_view bytes) {
  bool leadInC1 = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;  // ASCII, half-width katakana
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF);
    if (!lead || i + 1 >= bytes.size()) return false;  // 0x80, 0xA0, 0xF0-0xFF (user-defined)
    const auto t = static_cast<unsigned char>(bytes[i + 1]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
    if (b <= 0x9F) leadInC1 = true;
    ++i;
  }
  return leadInC1;
}

std::wstring Latin1(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (const char c : bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

std::wstring Convert(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                    nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

}  // namespace

std::wstring TextFromUtf8(std::string_view bytes) {
  bytes = UpToNul(bytes);
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::wstring out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    int length = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    uint32_t cp = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
    bool valid = length != 0 && i + length <= bytes.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto t = static_cast<unsigned char>(bytes[i + k]);
      valid = (t & 0xC0) == 0x80;
      cp = (cp << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (valid && ((length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
                  (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)))) {
      valid = false;
    }
    if (!valid) {
      out += L'\xFFFD';
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += length;
  }
  return out;
}

std::wstring TextFromUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    const wchar_t c = static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    if (c == 0) break;
    out += c;
  }
  return out;
}

std::wstring TextFromUtf16WithMark(std::string_view bytes, bool bigEndianWithoutMark) {
  if (bytes.size() >= 2) {
    const auto a = static_cast<unsigned char>(bytes[0]), b = static_cast<unsigned char>(bytes[1]);
    if (a == 0xFF && b == 0xFE) return TextFromUtf16(bytes.substr(2), false);
    if (a == 0xFE && b == 0xFF) return TextFromUtf16(bytes.substr(2), true);
  }
  return TextFromUtf16(bytes, bigEndianWithoutMark);
}

std::wstring TextFromLatin1(std::string_view bytes) {
  bytes = UpToNul(bytes);
  if (LooksLikeShiftJis(bytes)) {
    std::wstring text = Convert(bytes, 932);
    if (!text.empty()) return text;
  }
  return Latin1(bytes);
}

std::wstring TextFromUtf8OrLatin1(std::string_view bytes) {
  bytes = UpToNul(bytes);
  for (const char c : bytes) {
    if ((c & 0x80) == 0) continue;
    std::wstring utf8 = TextFromUtf8(bytes);
    return utf8.find(L'\xFFFD') == std::wstring::npos ? utf8 : TextFromLatin1(bytes);
  }
  return TextFromLatin1(bytes);
}

std::wstring TextFromCodePage(std::string_view bytes, unsigned codePage) {
  if (codePage == 1200) return TextFromUtf16(bytes, false);
  bytes = UpToNul(bytes);
  if (codePage == CP_UTF8) return TextFromUtf8(bytes);
  if (codePage == 1252 || codePage == 28591) return TextFromLatin1(bytes);
  std::wstring text = Convert(bytes, codePage);
  return text.empty() ? TextFromLatin1(bytes) : text;
}

}  // namespace korval
