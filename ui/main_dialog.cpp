// The main dialog's procedure: buttons, mode buttons and tabs, the filter box, the undo slot
// selector and the list-target picture.
#include "ui/main_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "engine/list_filter.h"
#include "platform/dpi.h"
#include "platform/path_limits.h"
#include "platform/redraw.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/live_preview.h"
#include "modes/change_mode.h"
#include "ui/mode_selection.h"
#include "ui/panel_bindings.h"
#include "ui/recording.h"
#include "ui/serial_assist_dialog.h"
#include "ui/status_bar.h"
#include "ui/tag_menu.h"
#include "ui/undo_mode_view.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

// The list area ends here in the template, in dialog units; everything below it is anchored.
constexpr int kListAreaBottom = 100;
// Controls from here on (dialog units) keep their distance to the right edge.
constexpr int kRightColumn = 350;

// Where a control stands at the size the dialog was made with (client): its distance to the bottom
// edge, and to the right edge in the right-hand column.
ControlAnchor AnchorOf(HWND dialog, HWND control, const RECT& client) {
  RECT area{0, 0, kRightColumn, kListAreaBottom};
  MapDialogRect(dialog, &area);
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  ControlAnchor anchor{control, GetDlgCtrlID(control), r.left, client.bottom - r.top, r.right - r.left,
                       r.bottom - r.top, -1};
  if (r.left >= area.right) anchor.fromRight = client.right - r.left;
  return anchor;
}

void RememberAnchors(HWND dialog, Frame& frame) {
  GetClientRect(dialog, &frame.madeClient);
  RECT area{0, 0, kRightColumn, kListAreaBottom};
  MapDialogRect(dialog, &area);
  frame.panelHeight = frame.madeClient.bottom - area.bottom;
  frame.anchors.clear();
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    frame.anchors.push_back(AnchorOf(dialog, child, frame.madeClient));
  }
}

// The anchored control's place in the dialog's client area now, scaled to the window's DPI (the
// anchors were taken at the DPI the dialog was made for).
RECT AnchoredPlace(const Frame& frame, const ControlAnchor& a, const RECT& client) {
  auto px = [&frame](int size) { return RescaleDpi(size, frame.baseDpi, frame.dpi); };
  const int x = a.fromRight >= 0 ? std::max(0, static_cast<int>(client.right) - px(a.fromRight)) : px(a.left);
  const int y = client.bottom - px(a.fromBottom);
  return RECT{x, y, x + px(a.width), y + px(a.height)};
}

// The filter box's text: the entry just chosen from its list, or what was typed.
void ApplyFilterFromBox(Workspace& work, Frame& frame, bool chosen) {
  wchar_t text[128] = L"";
  HWND box = frame.Item(IDC_FILTER);
  const LRESULT entry = chosen ? SendMessageW(box, CB_GETCURSEL, 0, 0) : -1;
  if (entry >= 0 && SendMessageW(box, CB_GETLBTEXTLEN, entry, 0) < 128) {
    SendMessageW(box, CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(text));
  } else {
    GetWindowTextW(box, text, 128);
  }
  work.panel.filterText = text;
  ApplyFilter(work.list, FilterKind::ChangedOnly, work.panel.filterText);
  RefreshList(work, frame);
}

void OnModeButton(Workspace& work, Frame& frame, int button) {
  if (work.Playing() || work.busy || work.UndoMode()) return;
  if (!ConfirmDropEditedNames(work)) {
    // No cancels the click: the old button shows pressed again, and the typed names stay.
    CheckModeButton(frame, work.modeIndex % 12 + 1);
    return;
  }
  ShowModePanel(work, frame, button);
  ScheduleLivePreview(work, frame);
  if (frame.list) SetFocus(frame.list);
}

// A change of a panel control: the preview no longer stands, the hint is refreshed, the window
// settles for 100 ms, and the new names follow once typing pauses.
void OnPanelChanged(Workspace& work, Frame& frame) {
  MarkPreviewStale(work, frame);
  ShowStatusHint(work, frame, kHintKeep);
  SetBusy(work, frame);
  ScheduleLivePreview(work, frame);
}

// The case conversion chosen shows the exception words it keeps; the words typed for the one
// chosen before are kept for it first.
void OnCaseKindChanged(Workspace& work, const Frame& frame) {
  ReadModeParams(work.panel, work.params, InputHistories{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0});
  ReadPanel(frame, work.panel);
  work.panel.exceptionText = ExceptionTextFor(work.params, work.panel.bigsmall);
  WritePanel(work, frame);
}

void OnPositionTextChanged(Workspace& work, const Frame& frame) {
  wchar_t text[kMaxPathChars + 1] = L"";
  GetDlgItemTextW(frame.dialog, IDC_POSITION_TEXT, text, kMaxPathChars + 1);
  if (!UpdatePositionMap(work.positionMap, text)) return;
  work.panel.positionText = text;
  work.panel.positionMap = work.positionMap.map;
  MarkPreviewStale(work, frame);
  ScheduleLivePreview(work, frame);
}

void OnSerialAssist(Workspace& work, Frame& frame) {
  ReadPanel(frame, work.panel);
  SerialAssistData data{kModeSerialNumber, work.panel.renbanstr};
  if (!ShowSerialAssistDialog(frame.main, &data)) return;
  work.panel.renbanstr = data.templateText;
  WritePanel(work, frame);
  DispatchCommand(work, frame, IDM_RESET);
}

bool OnPanelCommand(Workspace& work, Frame& frame, int id, int code) {
  switch (id) {
    case IDC_MACRO_RECORD:
      if (ConfirmDropEditedNames(work)) ToggleRecordingFromWindow(work, frame);
      return true;
    case IDC_MACRO_DELETE: DeleteSelectedMacro(work, frame); return true;
    case IDC_MACRO_EDIT: DispatchCommand(work, frame, IDM_MACRO_EDITOR); return true;
    case IDC_SERIAL_ASSIST: OnSerialAssist(work, frame); return true;
    case IDC_SERIAL_TAGS:
    case IDC_ADD_TAGS:
    case IDC_REPLACE_TAGS: ShowTagMenu(work, frame, id); return true;
    case IDC_CASE_KIND:
      if (code == CBN_SELCHANGE) OnCaseKindChanged(work, frame);
      break;
    case IDC_DELETE_KIND:
      if (code == CBN_SELCHANGE) EnableDeleteBoxes(frame);
      break;
    case IDC_MACRO_SLOT:
      if (code == CBN_SELCHANGE) ReadPanel(frame, work.panel);
      break;
    case IDC_POSITION_TEXT:
      if (code == EN_CHANGE) OnPositionTextChanged(work, frame);
      return true;
    default: break;
  }
  return false;
}

bool OnCommand(Workspace& work, Frame& frame, int id, int code) {
  if (work.fillingPanel) return true;
  if (OnPanelCommand(work, frame, id, code)) return true;
  switch (id) {
    case IDC_EXECUTE: PressExecuteButton(work, frame); return true;
    case IDC_PREVIEW: PressPreviewButton(work, frame); return true;
    case IDC_DELETE_SELECTED: DispatchCommand(work, frame, IDM_DELETE_SELECTED); return true;
    case IDC_CLEAR_ALL: DispatchCommand(work, frame, IDM_CLEAR_LIST); return true;
    case IDC_UNDO: DispatchCommand(work, frame, IDM_UNDO_MODE); return true;
    case IDC_TEXT_EDITOR: DispatchCommand(work, frame, IDM_TEXT_EDITOR); return true;
    case IDC_CSV_OPEN: DispatchCommand(work, frame, IDM_OPEN_CSV); return true;
    case IDC_TARGET_PICTURE:
      if (code == STN_CLICKED) DispatchCommand(work, frame, IDM_TOGGLE_TARGET);
      return true;
    case IDC_UNDO_SLOT:
      if (code == CBN_SELCHANGE && work.UndoMode()) {
        const LRESULT entry = SendMessageW(frame.Item(IDC_UNDO_SLOT), CB_GETCURSEL, 0, 0);
        if (entry >= 0) EnterUndoMode(work, frame, static_cast<int>(entry) + 1);
      }
      return true;
    case IDC_FILTER:
      if (code == CBN_EDITCHANGE || code == CBN_SELENDOK) {
        ApplyFilterFromBox(work, frame, code == CBN_SELENDOK);
        OnPanelChanged(work, frame);
      }
      return true;
    default: break;
  }
  if (id >= IDC_MODE_BUTTON_FIRST && id <= IDC_MODE_BUTTON_LAST) {
    if (code == BN_CLICKED) OnModeButton(work, frame, id - IDC_MODE_BUTTON_FIRST + 1);
    return true;
  }
  if (code == EN_CHANGE || code == CBN_EDITCHANGE || code == CBN_SELCHANGE || code == BN_CLICKED) {
    OnPanelChanged(work, frame);
    return true;
  }
  return false;
}

// A control of the dialog: through the frame once the dialog has one (before its first message).
HWND ItemOf(const MainWindowState* state, HWND dialog, int id) {
  return state ? state->frame.Item(id) : GetDlgItem(dialog, id);
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<MainWindowState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      return FALSE;
    case WM_COMMAND:
      if (!state) return FALSE;
      return OnCommand(state->work, state->frame, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!state) return FALSE;
      Workspace& work = state->work;
      // A date or time picked is a change of the panel like any other.
      if (header->code == DTN_DATETIMECHANGE) {
        if (!work.fillingPanel) OnPanelChanged(work, state->frame);
        return TRUE;
      }
      if (header->idFrom != IDC_MODE_TABS || header->code != TCN_SELCHANGE) return FALSE;
      if (work.UndoMode() || !ConfirmDropEditedNames(work)) {
        TabCtrl_SetCurSel(header->hwndFrom, work.modeIndex / 12);
        return TRUE;
      }
      OnModeTabChanged(work, state->frame);
      ScheduleLivePreview(work, state->frame);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // Labels and check boxes on the mode tabs take the tabs' face, the others the dialog's.
      RECT control, tabs;
      GetWindowRect(reinterpret_cast<HWND>(lParam), &control);
      GetWindowRect(ItemOf(state, dialog, IDC_MODE_TABS), &tabs);
      RECT overlap;
      if (!IntersectRect(&overlap, &control, &tabs)) return FALSE;
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_SETCURSOR:
      // The list-target picture is a button: the hand shows over it.
      if (reinterpret_cast<HWND>(wParam) == ItemOf(state, dialog, IDC_TARGET_PICTURE)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_SIZE:
      if (state) LayoutMainDialog(state->frame);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

HWND CreateMainDialog(MainWindowState* state) {
  Frame& frame = state->frame;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(frame.main, GWLP_HINSTANCE));
  frame.dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), frame.main, MainDialogProc,
                                    reinterpret_cast<LPARAM>(state));
  if (!frame.dialog) return nullptr;
  // On a move to a monitor of another DPI the window scales the dialog's controls with its own parts.
  KeepDialogFromSystemScaling(frame.dialog);
  frame.baseDpi = frame.dpi;
  frame.templateFont = reinterpret_cast<HFONT>(SendMessageW(frame.dialog, WM_GETFONT, 0, 0));
  RememberAnchors(frame.dialog, frame);
  frame.progress = frame.Item(IDC_PROGRESS);
  SendMessageW(frame.progress, PBM_SETRANGE32, 0, 100);
  return frame.dialog;
}

void LayoutMainDialog(const Frame& frame) {
  if (!frame.dialog) return;
  RECT client;
  GetClientRect(frame.dialog, &client);
  const int listBottom =
      std::max(0, static_cast<int>(client.bottom) - RescaleDpi(frame.panelHeight, frame.baseDpi, frame.dpi));
  if (frame.splitter) MoveWindow(frame.splitter, 0, 0, client.right, listBottom, TRUE);
  HDWP positions = BeginDeferWindowPos(static_cast<int>(frame.anchors.size()));
  for (const ControlAnchor& a : frame.anchors) {
    const RECT r = AnchoredPlace(frame, a, client);
    if (positions) {
      positions = DeferWindowPos(positions, a.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (positions) EndDeferWindowPos(positions);
  RedrawWithFrames(frame.dialog);
}

void AnchorControl(Frame& frame, HWND control) {
  const ControlAnchor anchor = AnchorOf(frame.dialog, control, frame.madeClient);
  frame.anchors.push_back(anchor);
  RECT client;
  GetClientRect(frame.dialog, &client);
  const RECT r = AnchoredPlace(frame, anchor, client);
  SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace korval
