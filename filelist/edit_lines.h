// The names of the rows as lines of text, for the built-in editor's panes and the exchange file of
// an external editor, and the edited lines put back as new names.
#pragma once

#include <string>

#include "engine/rename_list.h"

namespace korval {

inline constexpr size_t kEditorPageRows = 1000;

// How the lines look: the mode decides whether they are names or time-stamp or attribute
// notations; withExtension is `textedtext`.
struct EditLineOptions {
  int mode = 1;
  bool withExtension = true;
};

// The lines of rows first..last (inclusive, clamped to the list), each followed by CR LF: the old
// names (left pane) or the new names (right pane and exchange file; the old name where the new one
// is empty or a description in angle brackets).
std::wstring EditLines(const RenameList& list, size_t first, size_t last, bool newNames, const EditLineOptions& o);

// Puts the lines of text into rows first..last as their new names, in order. Rows beyond the last
// line get an empty name; surplus lines are ignored. In the time-stamp and attribute modes a line
// that does not fit the notation becomes empty.
void ApplyEditLines(RenameList& list, size_t first, size_t last, const std::wstring& text, const EditLineOptions& o);

// The line, or an empty one when it does not fit the notation of mode 13 ("<作成：2000/01/01
// 00:00:00>") or 14 ("<読：Y, 隠：N, ア：-, シ：->"); other modes keep every line.
std::wstring CheckNotationLine(int mode, const std::wstring& line);

// The exchange file "%sedit_ren.txt": the lines in the ANSI code page with "\u" escapes, no byte
// order mark. False when it cannot be written.
bool WriteExchangeFile(const std::wstring& path, const std::wstring& lines, size_t rows);
// Its text back (cut at rows × 1560 − 2 bytes, and at a zero byte); false when it cannot be read.
bool ReadExchangeFile(const std::wstring& path, size_t rows, std::wstring& text);

}  // namespace korval
