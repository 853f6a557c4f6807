// The change modes by number (mode button index + 1) and the labels of the 24 mode buttons.
#pragma once

namespace korval {

enum ChangeMode : int {
  kModePositionEdit = 1,
  kModeExtension = 2,
  kModeSerialNumber = 3,
  kModeLetterCase = 4,
  kModeCharWidth = 5,
  kModeShortName = 6,
  kModeAddText = 7,
  kModeDeleteText = 8,
  kModeDateTime = 9,
  kModeReplace = 10,
  kModeCsvNames = 11,
  kModeRandomName = 12,
  kModeTimestamp = 13,
  kModeAttribute = 14,
  kModeMacro = 19,
};

inline constexpr int kModeCount = 24;

// Labels of the mode buttons, by mode number - 1; an empty label hides its button.
inline constexpr const wchar_t* kModeLabels[kModeCount] = {
    L"位置編集", L"拡張子", L"連番 (123...)", L"大(A)⇔小(a)", L"全角/半角", L"8.3形式",
    L"文字追加", L"文字削除", L"日時",         L"置換",        L"CSV等",     L"ランダム",
    L"ﾀｲﾑｽﾀﾝﾌﾟ", L"属性",   L"",              L"",            L"",          L"",
    L"マクロ",   L"",       L"",              L"",            L"",          L"",
};

// Modes that compute a new name (the others describe a time stamp or attribute change).
inline bool IsNameMode(int mode) { return (mode >= 1 && mode <= 12) || mode == kModeMacro; }

}  // namespace korval
