// The table of step codes that both programs share: each code's change mode and the highest
// character its three digit fields may hold.
#pragma once

#include <array>
#include <string_view>

#include "modes/change_mode.h"

namespace korval {

// The highest character a reader accepts for d0, d1 and d2; the lowest is always '0'.
struct StepDigitLimits {
  char d0, d1, d2;
};

struct StepCode {
  char text[4];  // three ASCII characters, space-padded
  int mode;      // the change mode the code stands for
  StepDigitLimits limits;
};

inline constexpr int kStepCodeCount = 12;
inline constexpr int kPositionEditCode = 11;  // "EDT": its own record layout
inline constexpr size_t kStepCodeLength = 3;

inline constexpr std::array<StepCode, kStepCodeCount> kStepCodes = {{
    {"EXT", kModeExtension, {'1', '0', '0'}},
    {"123", kModeSerialNumber, {'4', '1', '0'}},
    {"Aa ", kModeLetterCase, {'4', '1', '0'}},
    {"ZH ", kModeCharWidth, {'1', '?', '0'}},
    {"8_3", kModeShortName, {'2', '0', '0'}},
    {"ADD", kModeAddText, {'1', '9', '9'}},
    {"DEL", kModeDeleteText, {';', '9', '9'}},
    {"TIM", kModeDateTime, {'3', '9', '4'}},
    {"REP", kModeReplace, {'2', '1', '3'}},
    {"dmy", kModeCsvNames, {'0', '0', '0'}},
    {"RND", kModeRandomName, {'6', '5', '3'}},
    {"EDT", kModePositionEdit, {'1', '0', '0'}},
}};

// The index of the code that stores the mode, or -1 for a mode that is never stored.
int StepCodeIndexOfMode(int mode);

// The index of a code given as its three characters, or -1.
int StepCodeIndexOfText(std::string_view code);

// Whether the three digit characters lie between '0' and the code's limits.
bool DigitsWithinLimits(int codeIndex, char d0, char d1, char d2);

}  // namespace korval
