// The three texts a step shows in the editor's list: the mode's name, a description that starts
// with the step's raw values in a fixed form, and a continuation column.
#pragma once

#include <string>

namespace korval {

// One column of the step list holds at most this many characters (a 260-unit buffer).
inline constexpr size_t kStepColumnChars = 259;

// The editor's mode names by mode id 1..14; an empty name for 11 and for anything outside.
const wchar_t* EditorModeName(int mode);

// The mode id whose editor name is name, searching ids 1..lastMode; 0 when none has it (an empty
// name never matches).
int EditorModeOfName(const std::wstring& name, int lastMode = 14);

// The editor's label of a deletion type 0..11; empty outside.
const wchar_t* EditorDeleteTypeName(int type);

// The three texts of a step given by its digit characters, its code index 0..10 and its texts.
// Returns 0 when built and 1 when the code has no mode name (the "dmy" code, or an index outside the
// table); on 1 the outputs stay empty.
int DescribeStep(char d0, char d1, char d2, int codeIndex, const std::wstring& textA, const std::wstring& textB,
                 std::wstring& column0, std::wstring& column1, std::wstring& column2);

}  // namespace korval
