// The table of step codes that both programs share: the highest character each code's three digit
// fields may hold. Which mode a code stands for is the mode table's (modes/change_mode.h).
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
  StepDigitLimits limits;
};

inline constexpr int kStepCodeCount = 12;
inline constexpr int kPositionEditCode = 11;  // "EDT": its own record layout
inline constexpr size_t kStepCodeLength = 3;

inline constexpr std::array<StepCode, kStepCodeCount> kStepCodes = {{
    {"EXT", {'1', '0', '0'}},
    {"123", {'4', '1', '0'}},
    {"Aa ", {'4', '1', '0'}},
    {"ZH ", {'1', '?', '0'}},
    {"8_3", {'2', '0', '0'}},
    {"ADD", {'1', '9', '9'}},
    {"DEL", {';', '9', '9'}},
    {"TIM", {'3', '9', '4'}},
    {"REP", {'2', '1', '3'}},
    {"dmy", {'0', '0', '0'}},
    {"RND", {'6', '5', '3'}},
    {"EDT", {'1', '0', '0'}},
}};

// The index of the code that stores the mode, or -1 for a mode that is never stored.
int StepCodeIndexOfMode(int mode);

// The change mode a code stands for, or 0 for an index outside the table.
int StepCodeMode(int codeIndex);

// The index of a code given as its three characters, or -1.
int StepCodeIndexOfText(std::string_view code);

// Whether the three digit characters lie between '0' and the code's limits.
bool DigitsWithinLimits(int codeIndex, char d0, char d1, char d2);

}  // namespace korval
