// Character width conversion: table-free arithmetic on UTF-16 units, one pass over the name.
#include "modes/char_width.h"

#include "modes/kana_width.h"
#include "modes/string_helpers.h"
#include "platform/path_limits.h"
#include "platform/digits.h"

namespace korval {
namespace {

constexpr wchar_t kWideOffset = 0xFEE0;  // full-width ASCII form - ASCII

// Symbols and their full-width forms. The apostrophe takes the right single quotation mark, the
// space the ideographic space; the half-width punctuation takes the Japanese punctuation.
struct SymbolPair {
  wchar_t half;
  wchar_t wide;
};

constexpr SymbolPair kSymbols[] = {
    {L' ', 0x3000},    {L'!', 0xFF01},    {L'#', 0xFF03},    {L'$', 0xFF04},    {L'%', 0xFF05},
    {L'&', 0xFF06},    {L'\'', 0x2019},   {L'(', 0xFF08},    {L')', 0xFF09},    {L'+', 0xFF0B},
    {L',', 0xFF0C},    {L'-', 0xFF0D},    {L'.', 0xFF0E},    {L';', 0xFF1B},    {L'=', 0xFF1D},
    {L'@', 0xFF20},    {L'[', 0xFF3B},    {L']', 0xFF3D},    {L'^', 0xFF3E},    {L'_', 0xFF3F},
    {L'`', 0xFF40},    {L'{', 0xFF5B},    {L'}', 0xFF5D},    {0xFF61, 0x3002},  {0xFF62, 0x300C},
    {0xFF63, 0x300D},  {0xFF64, 0x3001},  {0xFF65, 0x30FB},
};

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool IsWideDigit(wchar_t c) { return c >= 0xFF10 && c <= 0xFF19; }
bool IsWideLetter(wchar_t c) { return (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A); }

wchar_t WideSymbol(wchar_t c) {
  for (const SymbolPair& pair : kSymbols) {
    if (pair.half == c) return pair.wide;
  }
  return 0;
}

wchar_t HalfSymbol(wchar_t c) {
  for (const SymbolPair& pair : kSymbols) {
    if (pair.wide == c) return pair.half;
  }
  return 0;
}

void AppendFullWidth(const std::wstring& text, const WidthClasses& classes, std::wstring& out) {
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (classes.digits && IsDigit(c)) {
      out.push_back(static_cast<wchar_t>(c + kWideOffset));
      continue;
    }
    if (classes.letters && IsLetter(c)) {
      out.push_back(static_cast<wchar_t>(c + kWideOffset));
      continue;
    }
    if (classes.katakana) {
      const WideKana wide = HalfKanaToWide(c);
      if (wide.plain != 0) {
        // A following mark the kana can take is combined with it; any other mark stays as it is.
        const wchar_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if (next == kHalfVoicedMark && wide.voiced != 0) {
          out.push_back(wide.voiced);
          ++i;
        } else if (next == kHalfSemiVoicedMark && wide.semiVoiced != 0) {
          out.push_back(wide.semiVoiced);
          ++i;
        } else {
          out.push_back(wide.plain);
        }
        continue;
      }
    }
    if (classes.symbols) {
      const wchar_t wide = WideSymbol(c);
      if (wide != 0) {
        out.push_back(wide);
        continue;
      }
    }
    out.push_back(c);
  }
}

void AppendHalfWidth(const std::wstring& text, const WidthClasses& classes, std::wstring& out) {
  for (const wchar_t c : text) {
    if ((classes.digits && IsWideDigit(c)) || (classes.letters && IsWideLetter(c))) {
      out.push_back(static_cast<wchar_t>(c - kWideOffset));
      continue;
    }
    if (classes.katakana) {
      const HalfKana half = WideKanaToHalf(c);
      if (half.base != 0) {
        out.push_back(half.base);
        if (half.mark != 0) out.push_back(half.mark);
        continue;
      }
    }
    if (classes.symbols) {
      const wchar_t half = HalfSymbol(c);
      if (half != 0) {
        out.push_back(half);
        continue;
      }
    }
    out.push_back(c);
  }
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::wstring ConvertCharWidth(const std::wstring& text, bool toFullWidth, const WidthClasses& classes) {
  std::wstring out;
  out.reserve(text.size() * 2);
  if (toFullWidth) {
    AppendFullWidth(text, classes, out);
  } else {
    AppendHalfWidth(text, classes, out);
  }
  return out;
}

void CharWidthTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  target = source;
  Truncate(target, kMaxBuiltPath);
  if (ctx.params == nullptr) return;
  const ModeParams& params = *ctx.params;
  const WidthClasses classes{params.widthKatakana != 0, params.widthLetters != 0, params.widthDigits != 0,
                             params.widthSymbols != 0};
  const PathParts parts = SplitPathForMode(source, ctx.fileDir);
  std::wstring stem = ConvertCharWidth(parts.stem, Clamp(0, params.zenorhan, 1) == 1, classes);

  // Splitting voiced kana makes a name longer. The stem gives way so that the path stays within the
  // limit and the extension (the file's type) survives whole; the source fitted, so the directory
  // and the extension always fit.
  const std::wstring directory = parts.Directory();
  const size_t fixed = directory.size() + parts.extension.size();
  const size_t room = fixed < kMaxBuiltPath ? kMaxBuiltPath - fixed : 0;
  if (Truncate(stem, room) && !stem.empty() && IsHighSurrogate(stem.back())) stem.pop_back();
  target = directory + stem + parts.extension;
  Truncate(target, kMaxBuiltPath);
}

}  // namespace korval
