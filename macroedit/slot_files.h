// The editor's side of the macro files: reading a slot into rows, replacing a slot's file and the
// list of names whole, and deleting a slot's file.
#pragma once

#include <string>
#include <string_view>

#include "macro/macro_list.h"
#include "macroedit/step_row.h"

namespace korval {

struct SlotContents {
  bool readable = false;  // the file could be opened
  bool broken = false;    // its first record is neither a header nor a valid step
  StepRows rows;
  std::wstring status;    // the status bar text
};

// Reads slot 1..25 of folder. An unsupported version is told to the user; a broken file only marks
// the result, its message is the caller's.
SlotContents LoadSlot(const std::wstring& folder, int slot);

// Writes bytes into path so that the file is never seen half written: a temporary file beside it
// is written first and then moved over it. False when anything failed; the old file then stays.
bool ReplaceFileWhole(const std::wstring& path, std::string_view bytes);

// The slot's file replaced whole by the bytes of a save.
bool StoreSlotFile(const std::wstring& folder, int slot, std::string_view bytes);

// The list of names in the editor's form, replaced whole.
bool StoreMacroList(const std::wstring& folder, const MacroSlotNames& names);

// Deletes the slot's file (its attributes cleared first); false when a file stayed.
bool DeleteSlotFile(const std::wstring& folder, int slot);

// Removes the list of names when it holds nothing (0 bytes), as the editor does when it closes.
void RemoveEmptyMacroList(const std::wstring& folder);

}  // namespace korval
