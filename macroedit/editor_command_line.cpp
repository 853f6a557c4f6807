// Reading "/macroN" from the first two arguments.
#include "macroedit/editor_command_line.h"

#include <string_view>

#include "platform/command_line_split.h"

namespace korval {
namespace {

constexpr std::wstring_view kMacroArgument = L"/macro";
constexpr int kFirstSlot = 1, kLastSlot = 25;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The slot an argument asks for, or 0.
int SlotOf(std::wstring_view argument) {
  if (!argument.starts_with(kMacroArgument)) return 0;
  const std::wstring_view digits = argument.substr(kMacroArgument.size());
  if (digits.size() == 1 && digits[0] >= L'1' && digits[0] <= L'9') return digits[0] - L'0';
  if (digits.size() == 2 && IsDigit(digits[0]) && IsDigit(digits[1])) {
    const int slot = (digits[0] - L'0') * 10 + (digits[1] - L'0');
    if (slot >= 10 && slot <= kLastSlot) return slot;
  }
  return 0;
}

}  // namespace

int SlotFromArguments(const std::vector<std::wstring>& arguments) {
  for (size_t i = 0; i < arguments.size() && i < 2; ++i) {
    if (const int slot = SlotOf(arguments[i])) return slot;
  }
  return kFirstSlot;
}

std::vector<std::wstring> ProgramArguments() {
  std::vector<std::wstring> arguments = ProcessArguments();
  arguments.erase(arguments.begin());
  return arguments;
}

}  // namespace korval
