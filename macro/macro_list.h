// The list file that names the registered macro slots: "%d:%s\n" per slot, in the ANSI code page.
// The main program writes names plainly, the editor with "\u" escapes; each reads with its own limits.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace korval {

inline constexpr int kMacroSlotCount = 25;
inline constexpr const wchar_t* kUnregisteredSlotText = L"< 未登録 >";

// The names of slots 1..25 (index 0..24); an unregistered slot holds kUnregisteredSlotText.
using MacroSlotNames = std::array<std::wstring, kMacroSlotCount>;

enum class MacroProgram { Main, Editor };

inline constexpr size_t kMainListLineChars = 63;     // the main program keeps this much of a line
inline constexpr size_t kEditorListLineBytes = 510;  // the editor keeps this much of a line
inline constexpr size_t kEditorListNameChars = 70;   // and this much of a decoded name
inline constexpr size_t kEditorWrittenNameChars = 64;

// Every slot unregistered.
MacroSlotNames UnregisteredSlots();

// One line per registered slot in slot order. The main program converts the names plainly
// (characters the code page lacks become "?"); the editor cuts them to 64 characters and escapes
// what the code page lacks. A line break inside a name is left out so that it cannot start a line
// of its own.
std::string BuildMacroList(const MacroSlotNames& names, MacroProgram program);

// Reads the list: lines end at LF (a CR before it is dropped), the first empty line ends the list,
// "N:" or "NN:" gives the slot, numbers outside 1..25 and lines without such a prefix are skipped.
MacroSlotNames ParseMacroList(const unsigned char* data, size_t size, MacroProgram program);

}  // namespace korval
