// The katakana of the two widths: half-width kana U+FF66..U+FF9D with their voicing marks, and the
// full-width kana U+30A1..U+30F4 they stand for.
#pragma once

namespace korval {

inline constexpr wchar_t kHalfVoicedMark = 0xFF9E;      // ﾞ
inline constexpr wchar_t kHalfSemiVoicedMark = 0xFF9F;  // ﾟ
inline constexpr wchar_t kHalfLongSound = 0xFF70;       // ｰ
inline constexpr wchar_t kWideLongSound = 0x30FC;       // ー

inline constexpr wchar_t kHalfKanaFirst = 0xFF66;  // ｦ
inline constexpr wchar_t kHalfKanaLast = 0xFF9D;   // ﾝ
inline constexpr wchar_t kWideKanaFirst = 0x30A1;  // ァ
inline constexpr wchar_t kWideKanaLast = 0x30F4;   // ヴ

// The full-width forms of one half-width kana: plain, with the voicing mark, with the semi-voicing
// mark. A form the kana does not have is 0.
struct WideKana {
  wchar_t plain = 0;
  wchar_t voiced = 0;
  wchar_t semiVoiced = 0;
};

// For U+FF66..U+FF9D (the long sound U+FF70 included); all zero for any other character.
WideKana HalfKanaToWide(wchar_t half);

// The half-width spelling of one full-width kana: a base kana and, for voiced and semi-voiced kana,
// the mark behind it (else 0). base is 0 for a character without a half-width form (ヮ, ヰ, ヱ and
// everything outside U+30A1..U+30F4 except the long sound U+30FC).
struct HalfKana {
  wchar_t base = 0;
  wchar_t mark = 0;
};

HalfKana WideKanaToHalf(wchar_t wide);

}  // namespace korval
