// Letter case conversion of names (mode 4): five conversions, plain or locale-aware mapping, and the
// user's exception words whose typed spelling is kept.
#pragma once

#include <string>

#include "modes/mode_params.h"
#include "modes/transform_context.h"

namespace korval {

// bigsmall values.
enum LetterCaseKind : int {
  kCaseAllLower = 0,
  kCaseAllUpper = 1,
  kCaseUpperExceptExtension = 2,
  kCaseFirstUpper = 3,
  kCaseWordStartsUpper = 4,
};

// Plain mapping (localeAware false): only A-Z and a-z change. Locale-aware: the C library's mapping of
// the locale selected at start-up, one UTF-16 unit at a time (full-width Latin letters and other
// scripts too). Lengths never change.
void ToLowerCase(std::wstring& text, bool localeAware);
void ToUpperCase(std::wstring& text, bool localeAware);

// Restores the typed spelling of the words of exception list listNumber (0: lower case, 1: upper case,
// 2: word starts) wherever their normal form stands as a whole word in name. A list number outside
// 0..2 changes nothing.
void ApplyExceptionWords(const ModeParams& params, std::wstring& name, int listNumber);

// Writes drive + folder + the converted name of source into target.
void LetterCaseTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

}  // namespace korval
