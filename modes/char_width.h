// Character width conversion of names (mode 5): digits, Latin letters, katakana and symbols between
// their half-width and full-width forms, combining or splitting the kana voicing marks.
#pragma once

#include <string>

#include "modes/transform_context.h"

namespace korval {

// Which classes of characters a conversion touches (the four check boxes of the mode).
struct WidthClasses {
  bool katakana = false;
  bool letters = false;
  bool digits = false;
  bool symbols = false;
};

// Converts text to full width (toFullWidth) or half width; characters of classes switched off and
// characters without another form are copied.
std::wstring ConvertCharWidth(const std::wstring& text, bool toFullWidth, const WidthClasses& classes);

// Writes drive + folder + the converted stem + the unchanged extension of source into target. In
// folder mode the whole name is converted.
void CharWidthTransform(const TransformContext& ctx, const std::wstring& source, std::wstring& target);

}  // namespace korval
