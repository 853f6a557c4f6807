// Loading, deleting, saving and merging whole macros.
#include "macroedit/slot_commands.h"

#include <commctrl.h>

#include <algorithm>

#include "macroedit/editor_message.h"
#include "macroedit/list_commands.h"
#include "macroedit/reduce_replacements.h"
#include "macroedit/slot_files.h"
#include "macroedit/step_list_view.h"
#include "platform/format_text.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

// Whether a changed list may be dropped.
bool MayDropChanges(const EditorState& state) {
  if (state.modified == 0) return true;
  return EditorMessage(L"リストが変更されていますがリセットしてもよろしいですか。\r\n\r\n"
                       L"（保存する場合は「名前を付けて保存」ボタンから行ってください。）",
                       L"clear edit list?", MB_YESNO | MB_ICONWARNING) == IDYES;
}

void ShowRows(EditorState& state) {
  SelectAllRows(state.list, false);
  RefreshStepList(state.list, state.rows.size());
}

}  // namespace

std::wstring SlotDisplayText(const EditorState& state, int slot) {
  return FormatText(L"%02d：%s", slot, state.names[static_cast<size_t>(slot - 1)].c_str());
}

void SetStatusText(EditorState& state, const std::wstring& text) {
  if (state.statusBar) SendMessageW(state.statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ShowSlotText(EditorState& state) { SetDlgItemTextW(state.dialog, IDC_SLOT_TEXT, SlotDisplayText(state, state.slot).c_str()); }

bool LoadSlotIntoList(EditorState& state, int slot) {
  if (!MayDropChanges(state)) return false;
  state.slot = slot;
  state.modified = 0;
  state.rows.clear();
  ShowSlotText(state);
  ShowRows(state);  // a message of the file's reading shows over an empty list, not the old rows
  SlotContents contents = LoadSlot(state.programFolder, slot);
  SetStatusText(state, contents.status);
  state.rows = std::move(contents.rows);
  ShowRows(state);
  if (contents.broken) {
    EditorMessage(L"このマクロファイルは破損しています。", L"broken macro file", MB_OK | MB_ICONWARNING);
  }
  return true;
}

void PreviousSlot(EditorState& state) {
  if (state.slot > 1) LoadSlotIntoList(state, state.slot - 1);
}

void NextSlot(EditorState& state) {
  if (state.slot < kMacroSlotCount) LoadSlotIntoList(state, state.slot + 1);
}

void ReloadSlot(EditorState& state) { LoadSlotIntoList(state, state.slot); }

void DeleteMacroFile(EditorState& state) {
  if (EditorMessage(FormatText(L"マクロ[%s]を削除します。", SlotDisplayText(state, state.slot).c_str()),
                    L"Delete macro file?", MB_OKCANCEL) != IDOK) {
    return;
  }
  state.names[static_cast<size_t>(state.slot - 1)] = kUnregisteredSlotText;
  ShowSlotText(state);
  DeleteSlotFile(state.programFolder, state.slot);
  StoreMacroList(state.programFolder, state.names);
  state.modified = 0;
  SetStatusText(state, L"");
  state.rows.clear();
  ShowRows(state);
}

void SaveListAs(EditorState& state) {
  const SaveOutcome outcome =
      SaveRowsAsMacro(state.rows, state.programFolder, state.slot, state.names, state.askSaveName);
  if (!outcome.saved) return;
  state.slot = outcome.slot;
  state.modified = 0;
  ShowSlotText(state);
  SetStatusText(state, outcome.status);
}

void ReduceReplacementSteps(EditorState& state) {
  ReduceData data{state.settings.maxmultirep};
  if (!state.askReduce || !state.askReduce(data)) return;
  state.settings.maxmultirep = std::clamp(data.maxmultirep, 0, kMaxMultiReplace - kMinMultiReplace);
  const size_t before = state.rows.size();
  if (before < 2 || ReduceReplacements(state.rows, state.settings.maxmultirep + kMinMultiReplace) == 0) {
    EditorMessage(L"削減可能な箇所はありません。", L"not changed.", MB_OK | MB_ICONINFORMATION);
    return;
  }
  SelectAllRows(state.list, false);
  ListChanged(state);
  if (EditorMessage(FormatText(L"手順の数が削減されました。\n%d　→　%d\n\n名前を付けて保存しますか。",
                               static_cast<int>(before), static_cast<int>(state.rows.size())),
                    L"merged. save to macro file?", MB_OKCANCEL | MB_ICONINFORMATION) == IDOK) {
    SaveListAs(state);
  }
}

}  // namespace korval
