// The main dialog's messages: its buttons and boxes, the step list's notifications and the layout
// that lets the list grow with the window.
#include "macroedit/main_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "macroedit/editor_commands.h"
#include "macroedit/list_commands.h"
#include "macroedit/mode_panel.h"
#include "macroedit/step_list_view.h"
#include "macroedit/window_commands.h"
#include "platform/dpi.h"
#include "platform/redraw.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

constexpr int kMinListHeight = 40;  // at 96 DPI
constexpr int kLastMode = 2;  // "最後のみ" in the replacement mode's list

EditorState* StateOf(HWND dialog) { return reinterpret_cast<EditorState*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

BOOL CALLBACK RememberChild(HWND child, LPARAM param) {
  auto& state = *reinterpret_cast<EditorState*>(param);
  if (GetParent(child) != state.dialog) return TRUE;
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, state.dialog, reinterpret_cast<POINT*>(&r), 2);
  state.layout.emplace_back(child, r);
  return TRUE;
}

void RememberLayout(EditorState& state) {
  RECT client;
  GetClientRect(state.dialog, &client);
  state.layoutBase = SIZE{client.right, client.bottom};
  state.layout.clear();
  EnumChildWindows(state.dialog, RememberChild, reinterpret_cast<LPARAM>(&state));
}

// The controls where the template put them, scaled from the DPI it was made for; the list takes the
// room the window has beyond the template's, and the controls below it move down with it.
void LayOut(EditorState& state, int width, int height) {
  auto px = [&state](LONG size) { return RescaleDpi(static_cast<int>(size), state.baseDpi, state.dpi); };
  RECT listRect{};
  for (const auto& [child, r] : state.layout) {
    if (child == state.list) listRect = r;
  }
  const int dx = width - px(state.layoutBase.cx);
  const int dy = std::max(height - px(state.layoutBase.cy),
                          ScaleToDpi(kMinListHeight, state.dpi) - (px(listRect.bottom) - px(listRect.top)));
  HDWP batch = BeginDeferWindowPos(static_cast<int>(state.layout.size()));
  for (const auto& [child, r] : state.layout) {
    if (!batch) break;
    const int grow = child == state.list ? 1 : 0;
    const int down = child != state.list && r.top >= listRect.bottom ? dy : 0;
    batch = DeferWindowPos(batch, child, nullptr, px(r.left), px(r.top) + down, px(r.right) - px(r.left) + grow * dx,
                           px(r.bottom) - px(r.top) + grow * dy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) EndDeferWindowPos(batch);
  RedrawWithFrames(state.dialog);
}

void ShowContextMenu(EditorState& state) {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_STEP_CONTEXT));
  if (!menu) return;
  POINT cursor;
  GetCursorPos(&cursor);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, state.window, nullptr);
  DestroyMenu(menu);
}

LRESULT OnNotify(EditorState& state, const NMHDR& header) {
  if (header.hwndFrom != state.list) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillStepCell(state.rows, *reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
      return 0;
    case NM_RCLICK:
      ShowContextMenu(state);
      return 0;
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) DeleteRows(state);
      return 0;
  }
  return 0;
}

void OnCommand(EditorState& state, int id, int code) {
  switch (id) {
    case IDC_POSITION_EDIT:
      if (code == EN_CHANGE) PositionTextChanged(state);
      return;
    case IDC_CASE:
      if (code == CBN_SELCHANGE) CaseChanged(state);
      return;
    case IDC_REPLACE_MODE:
      if (code == CBN_SELCHANGE && SendDlgItemMessageW(state.dialog, id, CB_GETCURSEL, 0, 0) == kLastMode) {
        CheckDlgButton(state.dialog, IDC_REPLACE_REGEXP, BST_UNCHECKED);
      }
      return;
  }
  if (code == BN_CLICKED) DispatchEditorCommand(state, id, true);
}

void OnMouseWheel(EditorState& state, WPARAM wParam, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ScreenToClient(state.dialog, &point);
  HWND child = ChildWindowFromPointEx(state.dialog, point, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
  if (child && child != state.dialog) StepNumberBox(state.dialog, GetDlgCtrlID(child), GET_WHEEL_DELTA_WPARAM(wParam));
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  EditorState* state = StateOf(dialog);
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      return FALSE;
    case WM_COMMAND:
      if (state) OnCommand(*state, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      if (!state) return FALSE;
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, OnNotify(*state, *reinterpret_cast<const NMHDR*>(lParam)));
      return TRUE;
    case WM_SIZE:
      if (state && !state->layout.empty()) LayOut(*state, LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_MOUSEWHEEL:
      if (state) OnMouseWheel(*state, wParam, lParam);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateMainDialog(EditorState& state) {
  state.dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_EDITOR_MAIN), state.window,
                                    MainDialogProc, reinterpret_cast<LPARAM>(&state));
  if (!state.dialog) return nullptr;
  // On a move to a monitor of another DPI the window scales the dialog's controls itself.
  KeepDialogFromSystemScaling(state.dialog);
  state.baseDpi = state.dpi;
  state.templateFont = reinterpret_cast<HFONT>(SendMessageW(state.dialog, WM_GETFONT, 0, 0));
  state.list = GetDlgItem(state.dialog, IDC_STEP_LIST);
  SetupStepList(state.list, state.settings);
  InitModePanel(state.dialog);
  WritePanel(state.dialog, state.settings.panel);
  FillReplaceLists(state.dialog, state.settings.replaceFromHistory, state.settings.replaceToHistory);
  RememberLayout(state);
  ShowWindow(state.dialog, SW_SHOW);
  return state.dialog;
}

void RescaleMainDialog(EditorState& state, int dpi) {
  const int from = state.dpi;
  if (dpi <= 0 || dpi == from) return;
  state.dpi = dpi;
  // Made anew from the template's font each time, so that a way over several monitors adds no rounding.
  HFONT made = dpi == state.baseDpi ? nullptr : RescaleFont(state.templateFont, state.baseDpi, dpi);
  HFONT font = made ? made : state.templateFont;
  SetFontOfChildren(state.dialog, font);
  if (state.statusBar) SendMessageW(state.statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (state.dialogFont) DeleteObject(state.dialogFont);
  state.dialogFont = made;
  for (int column = 0; column < Header_GetItemCount(ListView_GetHeader(state.list)); ++column) {
    ListView_SetColumnWidth(state.list, column, RescaleDpi(ListView_GetColumnWidth(state.list, column), from, dpi));
  }
}

void FitMainDialog(EditorState& state) {
  RECT client;
  GetClientRect(state.window, &client);
  int bottom = client.bottom;
  if (state.statusBar && IsWindowVisible(state.statusBar)) {
    SendMessageW(state.statusBar, WM_SIZE, 0, 0);
    RECT bar;
    GetWindowRect(state.statusBar, &bar);
    bottom -= bar.bottom - bar.top;
  }
  MoveWindow(state.dialog, 0, 0, client.right, std::max<int>(bottom, 0), TRUE);
}

}  // namespace korval
