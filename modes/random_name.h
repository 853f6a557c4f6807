// Random names: the stem is replaced by characters drawn from one of seven character classes, and
// the extension may be kept, dropped or drawn as well.
#pragma once

#include <string>

#include "modes/transform_context.h"

namespace korval {

// Reads rndpattern, rndext and rndlen. Uses the C library generator (seeded once at program start).
void RandomNameTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

// One full-width character: kind 1 a hiragana, 2 a katakana, 3 a mixture of kana, full-width letters,
// digits and Greek, symbols, Cyrillic and kanji. Any other kind is treated as 3.
wchar_t RandomFullWidthChar(int kind);

}  // namespace korval
