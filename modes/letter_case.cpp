// Letter case conversion of names: the five conversions, word starts and exception words.
#include "modes/letter_case.h"

#include <cwctype>

#include "modes/string_helpers.h"
#include "platform/path_limits.h"

namespace korval {
namespace {

constexpr wchar_t kApostrophe = L'\'';
constexpr wchar_t kRightSingleQuote = 0x2019;  // the full-width form of the apostrophe in names
constexpr wchar_t kWideCaseOffset = 0x20;      // ａ - Ａ, as a - A

bool IsAsciiLower(wchar_t c) { return c >= L'a' && c <= L'z'; }
bool IsAsciiUpper(wchar_t c) { return c >= L'A' && c <= L'Z'; }
bool IsAsciiLetter(wchar_t c) { return IsAsciiLower(c) || IsAsciiUpper(c); }
bool IsWideLower(wchar_t c) { return c >= 0xFF41 && c <= 0xFF5A; }
bool IsWideUpper(wchar_t c) { return c >= 0xFF21 && c <= 0xFF3A; }
bool IsWideLetter(wchar_t c) { return IsWideLower(c) || IsWideUpper(c); }

// Upper-cases the character at i when it is a lower-case letter the conversion may touch.
void RaiseLetter(std::wstring& text, size_t i, bool wideLetters) {
  if (IsAsciiLower(text[i])) {
    text[i] = static_cast<wchar_t>(text[i] - kWideCaseOffset);
  } else if (wideLetters && IsWideLower(text[i])) {
    text[i] = static_cast<wchar_t>(text[i] - kWideCaseOffset);
  }
}

bool IsAsciiWordStart(const std::wstring& text, size_t i) {
  const wchar_t before = text[i - 1];
  if (IsAsciiLetter(before)) return false;
  // The t of "don't" belongs to the word before the apostrophe.
  if (before == kApostrophe && i >= 2 && IsAsciiLetter(text[i - 2])) return false;
  return true;
}

bool IsWideWordStart(const std::wstring& text, size_t i) {
  const wchar_t before = text[i - 1];
  if (IsWideLetter(before)) return false;
  if (before == kRightSingleQuote && i >= 2 && IsWideLetter(text[i - 2])) return false;
  return true;
}

// Case 4: every word start upper case, scanning up to (not including) end.
void RaiseWordStarts(std::wstring& text, size_t end, bool wideLetters) {
  if (end > text.size()) end = text.size();
  for (size_t i = 1; i < end; ++i) {
    if (IsAsciiLower(text[i])) {
      if (IsAsciiWordStart(text, i)) RaiseLetter(text, i, false);
    } else if (wideLetters && IsWideLower(text[i]) && IsWideWordStart(text, i)) {
      RaiseLetter(text, i, true);
    }
  }
}

bool IsAllAsciiLower(const std::wstring& word) {
  if (word.empty()) return false;
  for (wchar_t c : word) {
    if (!IsAsciiLower(c)) return false;
  }
  return true;
}

}  // namespace

// Every locale maps ASCII as ASCII: the locale's mapping (a call that takes the runtime's locale
// lock, for each character) is asked only for the others. Case-insensitive replacement lowers each
// name this way, so a preview of 50,000 names spent a third of its time here.
void ToLowerCase(std::wstring& text, bool localeAware) {
  for (wchar_t& c : text) {
    if (IsAsciiUpper(c)) {
      c = static_cast<wchar_t>(c + kWideCaseOffset);
    } else if (localeAware && c >= 0x80) {
      c = static_cast<wchar_t>(std::towlower(c));
    }
  }
}

void ToUpperCase(std::wstring& text, bool localeAware) {
  for (wchar_t& c : text) {
    if (IsAsciiLower(c)) {
      c = static_cast<wchar_t>(c - kWideCaseOffset);
    } else if (localeAware && c >= 0x80) {
      c = static_cast<wchar_t>(std::towupper(c));
    }
  }
}

void ApplyExceptionWords(const ModeParams& params, std::wstring& name, int listNumber) {
  if (listNumber < 0 || listNumber >= static_cast<int>(params.exceptionWords.size())) return;
  const ExceptionWordList& words = params.exceptionWords[static_cast<size_t>(listNumber)];
  size_t count = 0;
  for (const ExceptionWord& word : words) {
    if (count++ >= kMaxExceptionWords) break;
    if (word.typed.empty() || word.normal.empty()) break;
    // The typed form overwrites the match in place; a pair of different lengths cannot do that.
    if (word.typed.size() != word.normal.size()) continue;
    // A first word typed in lower case keeps the capital of the name's start.
    const bool keepNameStart = listNumber == 2 && IsAllAsciiLower(word.typed);
    const size_t length = word.normal.size();
    size_t from = 0;
    while (from < name.size()) {
      const size_t at = name.find(word.normal, from);
      if (at == std::wstring::npos) break;
      from = at + length + 1;
      if (at == 0 && keepNameStart) continue;
      if (at > 0 && IsAsciiLetter(name[at - 1])) continue;
      if (at + length < name.size() && IsAsciiLetter(name[at + length])) continue;
      name.replace(at, length, word.typed);
    }
  }
}

void LetterCaseTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target) {
  target = source;
  Truncate(target, kMaxBuiltPath);
  if (ctx.params == nullptr) return;
  const ModeParams& params = *ctx.params;
  const bool localeAware = params.dbytebig != 0;
  const PathParts parts = SplitPath(source);
  std::wstring name = parts.stem + parts.extension;

  switch (Clamp(kCaseAllLower, params.bigsmall, kCaseWordStartsUpper)) {
    case kCaseAllLower:
      ToLowerCase(name, localeAware);
      ApplyExceptionWords(params, name, 0);
      break;
    case kCaseAllUpper:
      ToUpperCase(name, localeAware);
      ApplyExceptionWords(params, name, 1);
      break;
    case kCaseUpperExceptExtension: {
      std::wstring stem = parts.stem;
      ToUpperCase(stem, localeAware);
      name = stem + parts.extension;
      ApplyExceptionWords(params, name, 1);
      break;
    }
    case kCaseFirstUpper:
      ToLowerCase(name, localeAware);
      if (!name.empty()) RaiseLetter(name, 0, localeAware);
      break;
    case kCaseWordStartsUpper: {
      ToLowerCase(name, localeAware);
      if (!name.empty()) RaiseLetter(name, 0, localeAware);
      // Outside folder mode the extension stays lower case.
      const size_t end = ctx.fileDir == 1 ? name.size() : parts.stem.size();
      RaiseWordStarts(name, end, localeAware);
      ApplyExceptionWords(params, name, 2);
      break;
    }
  }
  target = parts.Directory() + name;
  Truncate(target, kMaxBuiltPath);
}

}  // namespace korval
