// Writing and reading the macro name list.
#include "macro/macro_list.h"

#include <algorithm>
#include <string_view>

#include "platform/ansi_escape.h"
#include "macro/step_text.h"
#include "platform/digits.h"

namespace korval {
namespace {


// The slot number and where the name begins, from a line's "N:" or "NN:" prefix; 0 when there is none.
template <typename Text>
int SlotPrefix(const Text& line, size_t& nameStart) {
  if (line.size() >= 2 && line[1] == ':' && IsDigit(line[0])) {
    nameStart = 2;
    return line[0] - '0';
  }
  if (line.size() >= 3 && line[2] == ':' && IsDigit(line[0]) && IsDigit(line[1])) {
    nameStart = 3;
    return (line[0] - '0') * 10 + (line[1] - '0');
  }
  return 0;
}

std::wstring WithoutLineBreaks(std::wstring name) {
  std::erase_if(name, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
  return name;
}

}  // namespace

MacroSlotNames UnregisteredSlots() {
  MacroSlotNames names;
  names.fill(kUnregisteredSlotText);
  return names;
}

std::string BuildMacroList(const MacroSlotNames& names, MacroProgram program) {
  std::string list;
  for (int slot = 0; slot < kMacroSlotCount; ++slot) {
    if (names[slot] == kUnregisteredSlotText) continue;
    std::wstring name = WithoutLineBreaks(names[slot]);
    list += std::to_string(slot + 1);
    list += ':';
    if (program == MacroProgram::Editor) {
      if (name.size() > kEditorWrittenNameChars) name.resize(kEditorWrittenNameChars);
      list += EscapeStepText(name);
    } else {
      list += ToAnsiPlain(name);
    }
    list += '\n';
  }
  return list;
}

MacroSlotNames ParseMacroList(const unsigned char* data, size_t size, MacroProgram program) {
  MacroSlotNames names = UnregisteredSlots();
  if (!data) return names;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) break;

    size_t nameStart = 0;
    if (program == MacroProgram::Editor) {
      line = line.substr(0, kEditorListLineBytes);
      const int slot = SlotPrefix(line, nameStart);
      if (slot < 1 || slot > kMacroSlotCount) continue;
      names[slot - 1] = UnescapeStepText(line.substr(nameStart), kEditorListNameChars);
    } else {
      const std::wstring decoded = FromAnsiUnescaped(line, static_cast<int>(kMainListLineChars + 1));
      const int slot = SlotPrefix(decoded, nameStart);
      if (slot < 1 || slot > kMacroSlotCount) continue;
      names[slot - 1] = decoded.substr(nameStart);
    }
  }
  return names;
}

}  // namespace korval
