// Saving the step list: every row back into a record, checked, then the slot chosen and replaced.
#include "macroedit/save_macro.h"

#include <algorithm>

#include "macro/macro_file.h"
#include "macro/macro_record.h"
#include "macroedit/editor_message.h"
#include "macroedit/slot_files.h"
#include "platform/data_files.h"
#include "platform/format_text.h"

namespace korval {
namespace {

constexpr size_t kMaxSlotNameChars = 256;

void TellNothingToSave() { EditorMessage(L"保存するものがありません。", L"no save item", MB_OK | MB_ICONINFORMATION); }

}  // namespace

bool BuildSavedMacro(const StepRows& rows, std::string& bytes, size_t& written) {
  bytes = BuildEditorHeaderRecord();
  written = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const int rowNumber = static_cast<int>(i + 1);
    std::string record;
    switch (RecordFromRow(rows[i], record)) {
      case RowRecordResult::UnknownMode:
        EditorMessage(FormatText(L"%d 行目の書式が不正なため、保存出来ません。", rowNumber), L"invalid format",
                      MB_OK | MB_ICONWARNING);
        return false;
      case RowRecordResult::InvalidValue:
        EditorMessage(FormatText(L"%d 行目は値が不正なため、保存されません。", rowNumber), L"invalid value",
                      MB_OK | MB_ICONWARNING);
        continue;
      case RowRecordResult::Built:
        break;
    }
    // The same limit as an append to the file: nothing more once it holds this much.
    if (bytes.size() >= kMacroAppendLimit) {
      EditorMessage(L"マクロファイルのサイズ上限を超えるため、全てのマクロが保存されません。",
                    L"Macro File Size Exceeded", MB_OK | MB_ICONWARNING);
      break;
    }
    bytes += record;
    ++written;
  }
  return true;
}

SaveOutcome SaveRowsAsMacro(const StepRows& rows, const std::wstring& folder, int currentSlot,
                            MacroSlotNames& names, const AskSaveName& askName) {
  SaveOutcome outcome;
  if (rows.empty()) {
    TellNothingToSave();
    return outcome;
  }
  std::string bytes;
  size_t written = 0;
  const bool complete = BuildSavedMacro(rows, bytes, written);
  // The recording file holds what was built, also when a row stopped the save.
  const bool recorded =
      WriteMacroFile(folder, DataFile::MacroFile, 0, bytes, MacroWriteMode::Truncate) == kMacroWritten;
  if (!complete) return outcome;
  if (written == 0) {
    TellNothingToSave();
    return outcome;
  }
  if (!recorded) {
    EditorMessage(L"マクロファイルに書き込めません。", L"cannot write macro file", MB_OK | MB_ICONWARNING);
    return outcome;
  }

  SaveNameData data;
  data.slotIndex = std::clamp(currentSlot, 1, kMacroSlotCount) - 1;
  data.names = names;
  if (!askName || !askName(data) || data.name.empty() || data.slotIndex < 0 || data.slotIndex >= kMacroSlotCount) {
    EditorMessage(L"名前が付けられなかったためマクロを保存しませんでした。", L"no file name, no save",
                  MB_OK | MB_ICONINFORMATION);
    return outcome;
  }
  const int slot = data.slotIndex + 1;
  if (!StoreSlotFile(folder, slot, bytes)) {
    EditorMessage(L"マクロファイルに書き込めません。", L"cannot write macro file", MB_OK | MB_ICONWARNING);
    return outcome;
  }
  std::wstring name = data.name.substr(0, kMaxSlotNameChars);
  if (name == kUnregisteredSlotText) name = FormatText(L"macro_%02d", slot);
  names[slot - 1] = name;
  StoreMacroList(folder, names);
  outcome.saved = true;
  outcome.slot = slot;
  outcome.status = FormatText(L"マクロNo.%02d　%s%d.%d", slot, L"Ver ", 1, 5);
  return outcome;
}

}  // namespace korval
