// The values of the mode panel, clamped, as the transforms read them; and what is derived from them.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace korval {

inline constexpr int kPositionMapSize = 260;
inline constexpr int kTypedPosition = -1;  // a PositionMap entry for a character the user typed

// Exception words of one case conversion, as typed and in their normal form.
struct ExceptionWord {
  std::wstring typed;
  std::wstring normal;
};
inline constexpr size_t kMaxExceptionWords = 128;
inline constexpr size_t kMaxExceptionWordLength = 39;
using ExceptionWordList = std::vector<ExceptionWord>;

inline constexpr size_t kMaxReplaceItems = 8;

// Every position maps to itself: the sample name as chosen, before any edit.
inline std::array<int, kPositionMapSize> IdentityPositionMap() {
  std::array<int, kPositionMapSize> map{};
  for (int i = 0; i < kPositionMapSize; ++i) map[i] = i;
  return map;
}

struct ModeParams {
  // Position editing.
  int posedtnoext = 0;
  std::wstring positionText;  // the edited sample name
  std::array<int, kPositionMapSize> positionMap = IdentityPositionMap();  // position in the sample, or kTypedPosition

  // Extension.
  std::wstring extensionText;
  int extadd = 0;

  // Serial numbers.
  std::wstring renbanstr;  // the serial template
  int numinspos = 0;       // 0..4
  int dirrenreset = 0;

  // Letter case.
  int bigsmall = 0;  // 0..4
  int dbytebig = 0;
  std::wstring bsexcept0, bsexcept1, bsexcept2;
  std::array<ExceptionWordList, 3> exceptionWords;  // for case 0, cases 1 and 2, case 4

  // Character width.
  int zenorhan = 0;  // 0 to half width, 1 to full width
  int widthKatakana = 0, widthLetters = 0, widthDigits = 0, widthSymbols = 0;

  // 8.3 names.
  int real8_3 = 0;  // 0..2

  // Adding text.
  int addlen = 0;  // 0..255
  std::wstring addstr;
  int addprepost = 0;  // 0 from the front, 1 from the end

  // Deleting text.
  int deltype = 0;    // 0..11
  int dellen = 0;     // 0..255
  int dellen2 = 255;  // 1..255

  // Date and time in names.
  int whichdate = 0;  // 0..3
  int datefrom = 0;   // -1..8; -1: the typed pattern in ymdform
  std::wstring ymdform;
  std::wstring sepstr;  // up to 6 characters
  int dateins = 0;      // 0..4
  int addyymmdd = 0;

  // Replacement.
  std::wstring replaceFrom, replaceTo;  // the boxes' texts, escapes decoded
  std::vector<std::wstring> replaceFromItems, replaceToItems;  // split at "/", up to 8 each
  int repmode = 0;  // 0 all, 1 first, 2 last
  int regexp = 0;
  int repwithext = 0;
  int repcase = 1;

  // Random names.
  int rndpattern = 3;  // 0..6
  int rndext = 0;      // 0..3
  int rndlen = 3;      // 0..5

  // Macro.
  int macrono = 0;  // 0..24

  // Time stamps.
  int creatmodif = 0;  // 0..6
  int timestpsm = 0;   // condition for selections 3 and 4: 0..2
  int timeplus = 0;    // seconds per file, 0..604800
  int fwdback = 0;     // 0 earlier, 1 later
  int fwdbackdays = 0; // 0..366
  int stampnow = 0;
  std::wstring baseDate;  // "yyyy/MM/dd" from the date picker
  std::wstring baseTime;  // "HH:mm:ss" from the time picker

  // Attributes: read-only, hidden, archive, system; 1 set, 0 clear, 2 leave.
  std::array<int, 4> attributes{2, 2, 2, 2};
};

}  // namespace korval
