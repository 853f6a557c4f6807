// Step list commands over the editor's rows.
#include "macroedit/list_commands.h"

#include <algorithm>

#include "macro/macro_record.h"
#include "macroedit/editor_message.h"
#include "macroedit/mode_panel.h"
#include "macroedit/step_clipboard.h"
#include "macroedit/step_description.h"
#include "macroedit/step_list_view.h"
#include "modes/change_mode.h"
#include "platform/clipboard.h"
#include "platform/format_text.h"

namespace korval {
namespace {

constexpr size_t kMaxExtensionChars = 200;
constexpr size_t kAddedMapChars = 258;
constexpr int kReplaceHistorySwitch = 4;  // the replacement boxes' lists

// The edit box that has the focus, or null when the focus is elsewhere.
HWND FocusedEditBox() {
  HWND focus = GetFocus();
  wchar_t className[16] = L"";
  if (!focus || !GetClassNameW(focus, className, 16)) return nullptr;
  return _wcsicmp(className, L"Edit") == 0 ? focus : nullptr;
}

void TellMemoryShort() {
  EditorMessage(L"メモリが不足しているため、処理できません。", L"Run Short of Memory!", MB_OK | MB_ICONWARNING);
}

bool CopySelectedRows(EditorState& state) {
  const std::vector<bool> selected = SelectedRows(state.list, state.rows.size());
  std::vector<const StepRow*> rows;
  for (size_t i = 0; i < selected.size(); ++i) {
    if (selected[i]) rows.push_back(&state.rows[i]);
  }
  if (rows.empty()) return false;
  if (!PutOnClipboard(state.window, RowsToClipboardText(rows))) {
    TellMemoryShort();
    return false;
  }
  return true;
}

enum class RowBuild { Built, NoStoredForm, Refused };

// The row a step built in the panel shows as.
RowBuild RowFromPanel(EditorState& state, StepRow& row) {
  PanelValues& panel = state.settings.panel;
  ReadPanel(state.dialog, panel);
  ModeParams params;
  // Only a replacement step puts its texts into the lists of the replacement boxes.
  InputHistories histories;
  histories.switches = 0;
  if (panel.mode == kModeReplace) {
    histories.replaceFrom = &state.settings.replaceFromHistory;
    histories.replaceTo = &state.settings.replaceToHistory;
    histories.switches = kReplaceHistorySwitch;
  }
  const bool tooLong = ReadModeParams(panel, params, histories);
  for (auto* history : {&state.settings.replaceFromHistory, &state.settings.replaceToHistory}) {
    if (history->size() > kReplaceHistoryEntries) history->resize(kReplaceHistoryEntries);
  }
  WritePanel(state.dialog, panel);  // corrected numbers are shown
  FillReplaceLists(state.dialog, state.settings.replaceFromHistory, state.settings.replaceToHistory);
  if (tooLong) {
    EditorMessage(L"入力した文字数が多すぎます。", L"Too Many Characters", MB_OK | MB_ICONSTOP);
    return RowBuild::Refused;
  }
  if (panel.mode == kModePositionEdit) {
    row.mode = EditorModeName(kModePositionEdit);
    row.setting = FormatText(L"[%d] %s", params.posedtnoext, panel.positionText.c_str());
    const std::string map = EncodePositionMap(state.position.map, kPositionMapSize).substr(0, kAddedMapChars);
    row.setting2.assign(map.begin(), map.end());
    return RowBuild::Built;
  }
  if (params.extensionText.size() > kMaxExtensionChars) params.extensionText.resize(kMaxExtensionChars);
  const std::string record = BuildStepRecord(panel.mode, params);
  return !record.empty() && RowFromRecordBytes(record, row) ? RowBuild::Built : RowBuild::NoStoredForm;
}

}  // namespace

void ListChanged(EditorState& state) {
  state.modified = state.slot;
  RefreshStepList(state.list, state.rows.size());
}

void AddStepFromPanel(EditorState& state) {
  if (PanelMode(state.dialog) == kModePositionEdit && !state.sampleFixed) {
    EditorMessage(L"変更後のファイル名がありません。", L"no edit file name", MB_OK | MB_ICONINFORMATION);
    return;
  }
  StepRow row;
  const RowBuild built = RowFromPanel(state, row);
  if (built == RowBuild::Refused) return;
  if (built == RowBuild::NoStoredForm) {
    EditorMessage(L"追加に失敗しました。", L"cannot add to list", MB_OK | MB_ICONWARNING);
    return;
  }
  if (state.rows.size() >= kMaxStepRows) {
    EditorMessage(L"扱える最大数を超えています。", L"Too Many Files!", MB_OK | MB_ICONWARNING);
    return;
  }
  const int focused = FocusedRow(state.list);
  const size_t at = focused < 0 ? 0 : std::min(state.rows.size(), static_cast<size_t>(focused) + 1);
  state.rows.insert(state.rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
  ListChanged(state);
  FocusOnlyRow(state.list, static_cast<int>(at));
  SetFocus(state.list);
}

void MoveRows(EditorState& state, MoveDirection direction) {
  std::vector<bool> selected = SelectedRows(state.list, state.rows.size());
  if (std::find(selected.begin(), selected.end(), true) == selected.end()) return;
  MoveSelectedRows(state.rows, selected, direction);
  SelectRows(state.list, selected);
  ListChanged(state);
}

void DeleteRows(EditorState& state) {
  const std::vector<bool> selected = SelectedRows(state.list, state.rows.size());
  if (DeleteSelectedRows(state.rows, selected) > 0) {
    SelectAllRows(state.list, false);
    ListChanged(state);
  }
  SetFocus(state.list);
}

void DeleteAllRows(EditorState& state) {
  if (state.rows.empty()) return;
  state.rows.clear();
  ListChanged(state);
}

void SelectAll(EditorState& state) { SelectAllRows(state.list, true); }

void InvertSelection(EditorState& state) {
  std::vector<bool> selected = SelectedRows(state.list, state.rows.size());
  selected.flip();
  SelectRows(state.list, selected);
}

void CutCommand(EditorState& state) {
  if (HWND box = FocusedEditBox()) {
    SendMessageW(box, WM_CUT, 0, 0);
    return;
  }
  if (CopySelectedRows(state)) DeleteRows(state);
}

void CopyCommand(EditorState& state) {
  if (HWND box = FocusedEditBox()) {
    SendMessageW(box, WM_COPY, 0, 0);
    return;
  }
  CopySelectedRows(state);
}

void PasteCommand(EditorState& state) {
  if (HWND box = FocusedEditBox()) {
    SendMessageW(box, WM_PASTE, 0, 0);
    return;
  }
  std::wstring text;
  if (!ReadClipboard(state.window, text)) return;
  const int focused = FocusedRow(state.list);
  size_t at = focused < 0 ? state.rows.size() : std::min(state.rows.size(), static_cast<size_t>(focused) + 1);
  bool pasted = false;
  for (std::wstring_view line : SplitPastedLines(text)) {
    StepRow row;
    if (!RowFromPastedLine(line, row)) continue;
    if (state.rows.size() >= kMaxStepRows) {
      EditorMessage(L"扱える最大数を超えています。", L"Too Many Files!", MB_OK | MB_ICONWARNING);
      break;
    }
    state.rows.insert(state.rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    ++at;
    pasted = true;
  }
  if (!pasted) return;
  ListChanged(state);
  FocusOnlyRow(state.list, static_cast<int>(at) - 1);
}

void SelectAllCommand(EditorState& state) {
  if (HWND box = FocusedEditBox()) {
    SendMessageW(box, EM_SETSEL, 0, -1);
    return;
  }
  SelectAll(state);
}

}  // namespace korval
