// Window and panel commands of the editor.
#include "macroedit/window_commands.h"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/dialog_box.h"
#include "macroedit/editor_message.h"
#include "macroedit/editor_window.h"
#include "macroedit/mode_panel.h"
#include "macroedit/serial_assist_dialog.h"
#include "macroedit/slot_files.h"
#include "modes/change_mode.h"
#include "modes/tag_choice.h"
#include "platform/format_text.h"
#include "platform/redraw.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

constexpr UINT kIdentityMapDelay = 350;

std::wstring ItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

void CheckMenu(EditorState& state, int id, bool checked) {
  CheckMenuItem(GetMenu(state.window), static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  return message == WM_COMMAND && EndOnOkOrCancel(dialog, LOWORD(wParam), [] {});
}

}  // namespace

void ApplyTopmost(EditorState& state) {
  SetWindowPos(state.window, state.settings.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CheckMenu(state, IDM_TOPMOST, state.settings.topmost != 0);
}

void ToggleTopmost(EditorState& state) {
  state.settings.topmost = !state.settings.topmost;
  ApplyTopmost(state);
}

void ToggleStatusBar(EditorState& state) {
  state.settings.statusBar = !state.settings.statusBar;
  ShowWindow(state.statusBar, state.settings.statusBar ? SW_SHOW : SW_HIDE);
  CheckMenu(state, IDM_STATUS_BAR, state.settings.statusBar != 0);
  RECT client;
  GetClientRect(state.window, &client);
  SendMessageW(state.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void ShowHelp(EditorState& state) {
  const std::wstring path = state.programFolder + L"help\\index.html";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(state.window, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) {
    EditorMessage(L"ヘルプHTMLファイルが見つかりません。", L"No Help HTML File!", MB_OK | MB_ICONINFORMATION);
  }
}

void ShowAbout(EditorState& state) {
  RunDialog(state.window, IDD_EDITOR_ABOUT, AboutProc, nullptr);
}

void RemoveSettingsAndClose(EditorState& state) {
  if (!RemoveEditorSettings(state.store)) return;
  state.settingsRemoved = true;
  state.modified = 0;
  PostMessageW(state.window, WM_CLOSE, 0, 0);
}

bool PrepareToClose(EditorState& state) {
  if (state.modified != 0 &&
      EditorMessage(L"リストが変更されていますが終了してもよろしいですか。", L"exit anyway?",
                    MB_YESNO | MB_ICONWARNING) != IDYES) {
    return false;
  }
  if (!state.settingsRemoved) {
    ReadPanel(state.dialog, state.settings.panel);
    const bool normal = !IsIconic(state.window) && !IsZoomed(state.window);
    if (normal) {
      RECT r;
      GetWindowRect(state.window, &r);
      state.settings.wleft = r.left;
      state.settings.wtop = r.top;
      state.settings.wwidth = r.right - r.left;
      state.settings.wheight = r.bottom - r.top;
    }
    SaveEditorSettings(state.store, state.settings, normal);
  }
  RemoveEmptyMacroList(state.programFolder);
  return true;
}

void SelectMode(EditorState& state, int mode) {
  ShowPanelMode(state.dialog, mode);
  state.settings.panel.mode = PanelMode(state.dialog);
  ShowPositionBoxes(state);
}

void StepMode(EditorState& state, int step) { SelectMode(state, AdjacentPanelMode(PanelMode(state.dialog), step)); }

void ShowPositionBoxes(EditorState& state) {
  const bool positionMode = PanelMode(state.dialog) == kModePositionEdit;
  const int show = positionMode && state.sampleFixed ? SW_SHOW : SW_HIDE;
  ShowWindow(GetDlgItem(state.dialog, IDC_POSITION_EDIT), show);
  ShowWindow(GetDlgItem(state.dialog, IDC_POSITION_EDIT_LABEL), show);
  RedrawWithFrames(state.dialog);
  SendDlgItemMessageW(state.dialog, IDC_POSITION_SAMPLE, EM_SETREADONLY, state.sampleFixed, 0);
  SetDlgItemTextW(state.dialog, IDC_POSITION_SET, state.sampleFixed ? L"リセット" : L"変更前セット");
}

void TogglePositionSample(EditorState& state) {
  state.sampleFixed = !state.sampleFixed;
  if (state.sampleFixed) {
    const std::wstring sample = ItemText(state.dialog, IDC_POSITION_SAMPLE);
    SetPositionSample(state.position, sample);
    SetDlgItemTextW(state.dialog, IDC_POSITION_EDIT, state.position.previousText.c_str());
    SetTimer(state.window, kTimerIdentityMap, kIdentityMapDelay, nullptr);
  }
  ShowPositionBoxes(state);
}

void PositionTextChanged(EditorState& state) {
  if (!state.sampleFixed) return;
  UpdatePositionMap(state.position, ItemText(state.dialog, IDC_POSITION_EDIT));
}

void OpenSerialAssist(EditorState& state) {
  SerialAssistData data{kModeSerialNumber, ItemText(state.dialog, IDC_SERIAL)};
  if (ShowSerialAssistDialog(state.window, &data)) SetDlgItemTextW(state.dialog, IDC_SERIAL, data.serial.c_str());
}

void OpenTagMenu(EditorState& state) {
  constexpr std::pair<int, int> kButtons[] = {
      {IDC_SERIAL_TAGS, IDC_SERIAL}, {IDC_ADD_TAGS, IDC_ADD_TEXT}, {IDC_REPLACE_TAGS, IDC_REPLACE_TO}};
  for (const auto& [button, box] : kButtons) {
    HWND control = GetDlgItem(state.dialog, button);
    if (!control || !IsWindowVisible(control)) continue;
    ChooseTagIntoBox(state.window, control, GetDlgItem(state.dialog, box), TagValues(TagSet()));
    return;
  }
}

void CaseChanged(EditorState& state) {
  constexpr int kFirstLetterOnly = 3;  // keeps no exception words
  const int previous = state.settings.panel.bigsmall;
  if (previous != kFirstLetterOnly) ExceptionWordsFor(state.settings, previous) = ItemText(state.dialog, IDC_CASE_EXCEPTIONS);
  const LRESULT selection = SendDlgItemMessageW(state.dialog, IDC_CASE, CB_GETCURSEL, 0, 0);
  const int next = selection == CB_ERR ? 0 : static_cast<int>(selection);
  state.settings.panel.bigsmall = next;
  state.settings.panel.exceptionText = next == kFirstLetterOnly ? L"" : ExceptionWordsFor(state.settings, next);
  SetDlgItemTextW(state.dialog, IDC_CASE_EXCEPTIONS, state.settings.panel.exceptionText.c_str());
}

}  // namespace korval
