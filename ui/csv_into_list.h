// Rows of CSV text into the window's list: pasted before the focused row, or read from a file
// (opened or dropped) in place of the list; and the one way the CSV commands tell the user.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/workspace.h"

namespace korval {

// A message box of the CSV commands: information or warning icon, caption and text.
void TellCsvUser(UINT icon, const wchar_t* caption, const std::wstring& text);

// Said after a CSV file was read only in part: its rows, the rows read, the rows left out.
inline constexpr const wchar_t* kCsvRowsLeftOutText =
    L"扱える最大ファイル数を超えたため、CSVファイルの %d 行のうち %d 行だけを読み込みました。\r\n\r\n"
    L"残りの %d 行は読み込んでいません。";
inline constexpr const wchar_t* kCsvRowsLeftOutCaption = L"CSV Rows Left Out";

// Inserts the rows before the focused row (at the end when the first row or none has the focus),
// asking to raise the row limit when it is reached; then the list is redrawn, the longest old name
// becomes the position-edit sample and the status bar shows the mode's hint. Returns the rows inserted.
size_t InsertCsvRowsIntoList(Workspace& work, Frame& frame, std::vector<RenameItem> rows);

// Replaces the list by the rows of the CSV file. A file that is too large, not ANSI text, unreadable
// or holding a line that fits no shape is refused whole with a message and the list stays as it was.
// A file of more rows than the row limit takes fills the list to the limit and says how many rows
// were left out.
bool ReadCsvIntoList(Workspace& work, Frame& frame, const std::wstring& path);

}  // namespace korval
