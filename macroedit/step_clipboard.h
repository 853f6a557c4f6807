// The step list's rows as tab-separated text: what copy puts on the clipboard and which pasted
// lines are taken back as rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "macroedit/step_row.h"

namespace korval {

// The list holds at most this many rows; a paste stops when it is reached.
inline constexpr size_t kMaxStepRows = 5000;
// A pasted column longer than this skips its line.
inline constexpr size_t kMaxPastedColumnChars = 260;

// "%s\t%s\t%s\r\n" per row, each column cut to 259 characters.
std::wstring RowsToClipboardText(const std::vector<const StepRow*>& rows);

// The lines of a pasted text; lines end in CR LF or LF.
std::vector<std::wstring_view> SplitPastedLines(std::wstring_view text);

// The row of one pasted line, or false when the line is skipped: it begins with "#", a column is
// longer than 260 characters, column 0 names no mode, a position-edit row's column 2 is shorter
// than 200 characters or holds other characters than 0-9, a-f and "+", or another row's column 1
// does not begin with the bracket form "[c,d,d] ". Missing columns are empty.
bool RowFromPastedLine(std::wstring_view line, StepRow& row);

}  // namespace korval
