// The controls of an options page bound to the settings they edit: one table per page, read into
// the controls when the page opens and taken back when the sheet is closed with OK.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "config/settings.h"

namespace korval {

enum class BindKind {
  Check,         // a check box: the member is 0 or 1
  InverseCheck,  // a check box that shows the member's opposite
  Radio,         // one radio button: checked when the member holds `value`
  Bit,           // a check box for the bit `value` of the member
  ComboIndex,    // the selected entry of a list, 0..`bound`
  Text,          // an edit box or editable list: the member's text
  Number,        // an edit box of digits kept as text, 0..`bound`
};

struct OptionBinding {
  int control;
  BindKind kind;
  int Settings::*number = nullptr;
  std::wstring Settings::*text = nullptr;
  int value = 0;  // Radio: the value the button stands for; Bit: the bit
  int bound = 0;  // ComboIndex, Number: the largest value taken
};

// The longest text an edit box of the options takes: what the settings store reads back whole.
inline constexpr int kOptionTextLimit = 255;

void LoadBindings(HWND page, std::span<const OptionBinding> bindings, const Settings& s);
// Values out of their range (typed, pasted) are brought into it.
void StoreBindings(HWND page, std::span<const OptionBinding> bindings, Settings& s);

// A list filled with its entries, in order.
struct ComboEntries {
  int control;
  std::span<const wchar_t* const> entries;
};
void FillCombos(HWND page, std::span<const ComboEntries> combos);

// The digits typed into a number box as the decimal text of a value within 0..bound. Without digits
// the text stays empty, which each setting reads as its own default (an upper bound: no bound).
std::wstring StoredNumber(const std::wstring& typed, long long bound);

}  // namespace korval
