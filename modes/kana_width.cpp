// The katakana of the two widths. The half-width block follows the order of the kana table in runs,
// so each run maps to the full-width block by a start and a step; the reverse table is built from the
// same runs, so the two directions are each other's exact reverse.
#include "modes/kana_width.h"

#include <array>
#include <cstddef>

namespace korval {
namespace {

// A run of half-width kana [first, last] mapped to wide = start + step × (c − first).
struct KanaRun {
  wchar_t first;
  wchar_t last;
  wchar_t start;
  int step;
  bool voiced;      // the voicing mark gives the next code (ガ after カ)
  bool semiVoiced;  // the semi-voicing mark gives the code after that (パ after ハ)
};

constexpr KanaRun kKanaRuns[] = {
    {0xFF66, 0xFF66, 0x30F2, 0, false, false},  // ｦ → ヲ
    {0xFF67, 0xFF6B, 0x30A1, 2, false, false},  // ｧ..ｫ → ァ..ォ
    {0xFF6C, 0xFF6E, 0x30E3, 2, false, false},  // ｬ..ｮ → ャ..ョ
    {0xFF6F, 0xFF6F, 0x30C3, 0, false, false},  // ｯ → ッ
    {0xFF70, 0xFF70, 0x30FC, 0, false, false},  // ｰ → ー
    {0xFF71, 0xFF75, 0x30A2, 2, false, false},  // ｱ..ｵ → ア..オ (ｳﾞ is handled apart)
    {0xFF76, 0xFF81, 0x30AB, 2, true, false},   // ｶ..ﾁ → カ..チ
    {0xFF82, 0xFF84, 0x30C4, 2, true, false},   // ﾂ..ﾄ → ツ..ト
    {0xFF85, 0xFF89, 0x30CA, 1, false, false},  // ﾅ..ﾉ → ナ..ノ
    {0xFF8A, 0xFF8E, 0x30CF, 3, true, true},    // ﾊ..ﾎ → ハ..ホ
    {0xFF8F, 0xFF93, 0x30DE, 1, false, false},  // ﾏ..ﾓ → マ..モ
    {0xFF94, 0xFF96, 0x30E4, 2, false, false},  // ﾔ..ﾖ → ヤ..ヨ
    {0xFF97, 0xFF9B, 0x30E9, 1, false, false},  // ﾗ..ﾛ → ラ..ロ
    {0xFF9C, 0xFF9C, 0x30EF, 0, false, false},  // ﾜ → ワ
    {0xFF9D, 0xFF9D, 0x30F3, 0, false, false},  // ﾝ → ン
};

constexpr wchar_t kHalfU = 0xFF73;   // ｳ
constexpr wchar_t kWideVu = 0x30F4;  // ヴ

constexpr WideKana WideFor(wchar_t half) {
  WideKana result;
  for (const KanaRun& run : kKanaRuns) {
    if (half < run.first || half > run.last) continue;
    result.plain = static_cast<wchar_t>(run.start + run.step * (half - run.first));
    if (run.voiced) result.voiced = static_cast<wchar_t>(result.plain + 1);
    if (run.semiVoiced) result.semiVoiced = static_cast<wchar_t>(result.plain + 2);
    break;
  }
  if (half == kHalfU) result.voiced = kWideVu;
  return result;
}

constexpr size_t kWideKanaCount = kWideKanaLast - kWideKanaFirst + 1;

constexpr std::array<HalfKana, kWideKanaCount> BuildHalfTable() {
  std::array<HalfKana, kWideKanaCount> table{};
  for (wchar_t half = kHalfKanaFirst; half <= kHalfKanaLast; ++half) {
    const WideKana wide = WideFor(half);
    const auto put = [&table, half](wchar_t code, wchar_t mark) {
      if (code >= kWideKanaFirst && code <= kWideKanaLast) table[code - kWideKanaFirst] = {half, mark};
    };
    put(wide.plain, 0);
    if (wide.voiced != 0) put(wide.voiced, kHalfVoicedMark);
    if (wide.semiVoiced != 0) put(wide.semiVoiced, kHalfSemiVoicedMark);
  }
  return table;
}

constexpr std::array<HalfKana, kWideKanaCount> kHalfTable = BuildHalfTable();

}  // namespace

WideKana HalfKanaToWide(wchar_t half) {
  if (half < kHalfKanaFirst || half > kHalfKanaLast) return {};
  return WideFor(half);
}

HalfKana WideKanaToHalf(wchar_t wide) {
  if (wide == kWideLongSound) return {kHalfLongSound, 0};
  if (wide < kWideKanaFirst || wide > kWideKanaLast) return {};
  return kHalfTable[wide - kWideKanaFirst];
}

}  // namespace korval
