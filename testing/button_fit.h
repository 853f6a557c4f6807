// Whether every button caption of a program's dialog templates fits its button at the dialog's
// font: a caption cut on a person's screen is a test failure, not a surprise. Full-width
// characters count as wide as the system's Japanese dialog font draws them (two average
// characters), also where a narrower font stands in for it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace korval {

// The room a caption needs beside it: a push button's edges and focus frame on each side; a check
// box's or radio button's box and the gap after it.
inline constexpr int kPushButtonSideRoom = 4;
inline constexpr int kCheckGap = 4;

// Every button of every dialog template in module whose caption does not fit, as
// "dialog 100, button 1693 "テキストエディタ": 98 px of 84".
std::vector<std::string> ButtonsTooNarrow(HMODULE module);

}  // namespace korval
