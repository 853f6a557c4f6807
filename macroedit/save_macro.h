// "名前を付けて保存": the step list written as a macro into a slot the person names.
#pragma once

#include <functional>
#include <string>

#include "macro/macro_list.h"
#include "macroedit/step_row.h"

namespace korval {

// What the naming dialog shows and gives back.
struct SaveNameData {
  int slotIndex = 0;  // 0..24: the current slot on entry, the chosen one on OK
  MacroSlotNames names;
  std::wstring name;  // the typed or chosen name on OK, at most 256 characters
};

using AskSaveName = std::function<bool(SaveNameData& data)>;

// The records of the rows after the editor's header, as a save writes them into the recording file.
// Row problems are told to the user: an unknown mode stops the save (false), an invalid value skips
// its row, a full file ends the rows. written counts the rows stored.
bool BuildSavedMacro(const StepRows& rows, std::string& bytes, size_t& written);

struct SaveOutcome {
  bool saved = false;
  int slot = 0;  // 1..25, the slot saved into
  std::wstring status;
};

// The whole save: the rows built and written into the editor's recording file, the name asked
// through askName, the slot's file and the list of names replaced. names is updated on success.
SaveOutcome SaveRowsAsMacro(const StepRows& rows, const std::wstring& folder, int currentSlot,
                            MacroSlotNames& names, const AskSaveName& askName);

}  // namespace korval
