// Mode tabs and buttons.
#include "ui/mode_selection.h"

#include <commctrl.h>

#include <algorithm>

#include "engine/list_filter.h"
#include "engine/rename_list.h"
#include "modes/change_mode.h"
#include "platform/redraw.h"
#include "resources/resource.h"
#include "ui/mode_groups.h"
#include "ui/mode_panel_controls.h"
#include "ui/status_bar.h"
#include "ui/window_actions.h"

namespace korval {

void EnableDeleteBoxes(const Frame& frame) {
  const int rule = static_cast<int>(SendMessageW(frame.Item(IDC_DELETE_KIND), CB_GETCURSEL, 0, 0));
  for (int id : {IDC_DELETE_FROM, IDC_DELETE_FROM_LABEL}) EnableWindow(frame.Item(id), DeleteFromUsed(rule));
  for (int id : {IDC_DELETE_COUNT, IDC_DELETE_COUNT_LABEL}) EnableWindow(frame.Item(id), DeleteCountUsed(rule));
}

namespace {

void ShowButtonLabels(const Frame& frame, int tab) {
  for (int i = 0; i < 12; ++i) {
    HWND button = frame.Item(IDC_MODE_BUTTON_FIRST + i);
    const wchar_t* label = ModeLabel(tab * 12 + i + 1);
    wchar_t shown[32] = L"";
    GetWindowTextW(button, shown, 32);
    if (lstrcmpW(shown, label) != 0) SetWindowTextW(button, label);
    ShowWindow(button, *label ? SW_SHOW : SW_HIDE);
  }
}

// Every row loses its new name and status, as at the start of a read.
void EmptyNewNames(RenameList& list) {
  for (RenameItem& row : list.Rows()) {
    row.newName.clear();
    row.status = ItemStatus::None;
  }
}

// The controls of the current mode; the first takes the focus, with its text selected in the
// extension and serial boxes.
void ShowModeGroup(Workspace& work, Frame& frame) {
  EnsureModeGroup(work, frame, work.Mode());
  const std::span<const int> group = ModeGroupOf(work.Mode());
  for (int id : group) ShowWindow(frame.Item(id), SW_SHOW);
  EnableDeleteBoxes(frame);
  if (group.empty()) {
    if (frame.list) SetFocus(frame.list);
    return;
  }
  HWND first = frame.Item(group.front());
  // Not at the start, where the set-up gives the list the focus once the window shows.
  if (frame.setUpFinished) SetFocus(first);
  if (group.front() == IDC_EXTENSION_TEXT || group.front() == IDC_SERIAL_TEMPLATE) {
    SendMessageW(first, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  }
}

// The panel's area anew, frames included: a box shown where another was hidden is drawn whole.
void RedrawPanel(const Frame& frame) {
  RECT panel;
  if (!frame.dialog || !GetClientRect(frame.dialog, &panel)) return;
  panel.top = std::max(0L, panel.bottom - frame.panelHeight);
  RedrawWithFrames(frame.dialog, &panel);
}

}  // namespace

void EmptyModeFirstBox(const Workspace& work, const Frame& frame) {
  const std::span<const int> group = ModeGroupOf(work.Mode());
  if (group.empty()) return;
  HWND first = frame.Item(group.front());
  wchar_t name[16] = L"";
  GetClassNameW(first, name, 16);
  // A box a person types into; a list of choices keeps its choice.
  if (lstrcmpiW(name, L"ComboBox") == 0 && (GetWindowLongW(first, GWL_STYLE) & 3) == CBS_DROPDOWN) SetWindowTextW(first, L"");
}

void InitModeTabs(Workspace& work, const Frame& frame) {
  HWND tabs = frame.Item(IDC_MODE_TABS);
  if (tabs && TabCtrl_GetItemCount(tabs) == 0) {
    for (int t = 0; t < 2; ++t) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(kModeTabTitles[t]);
      TabCtrl_InsertItem(tabs, t, &item);
    }
  }
  if (tabs) TabCtrl_SetCurSel(tabs, work.modeIndex / 12);
  ShowButtonLabels(frame, work.modeIndex / 12);
}

void CheckModeButton(const Frame& frame, int button) {
  for (int i = 1; i <= 12; ++i) {
    HWND mode = frame.Item(IDC_MODE_BUTTON_FIRST + i - 1);
    const WPARAM state = i == button ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(mode, BM_GETCHECK, 0, 0)) != state) SendMessageW(mode, BM_SETCHECK, state, 0);
  }
}

void ShowModePanel(Workspace& work, Frame& frame, int button) {
  const int tab = work.modeIndex / 12;
  const bool undo = button == kUndoPanel;
  const int checked = (button >= 1 && button <= 12) ? button : 1;
  CheckModeButton(frame, undo ? 0 : checked);
  for (const auto& [id, control] : frame.panelControls) ShowWindow(control, SW_HIDE);  // every group's
  ShowWindow(frame.Item(IDC_UNDO_CAPTION), undo ? SW_SHOW : SW_HIDE);
  if (undo) {
    ShowStatusHint(work, frame, kHintKeep);
    RedrawPanel(frame);
    return;
  }
  work.modeIndex = tab * 12 + checked - 1;
  work.panel.mode = work.Mode();
  work.settings.mode = work.modeIndex;
  ShowModeGroup(work, frame);
  if (!work.Playing()) {
    EmptyNewNames(work.list);
    SetPositionSample(work, frame);
    ApplyFilter(work.list, FilterKind::Full, work.panel.filterText);
    MarkPreviewStale(work, frame);
    RefreshList(work, frame);
  }
  ShowStatusHint(work, frame, ModeHint(work.Mode()));
  RedrawPanel(frame);
}

void SetModeIndex(Workspace& work, const Frame& frame, int index) {
  if (!*ModeLabel(index + 1)) index = 0;
  work.modeIndex = index;
  InitModeTabs(work, frame);
}

void SelectModeIndex(Workspace& work, Frame& frame, int index) {
  SetModeIndex(work, frame, index);
  ShowModePanel(work, frame, work.modeIndex % 12 + 1);
}

int SteppedModeIndex(int index, int step) {
  for (int k = 0; k < kModeCount; ++k) {
    index = ((index + step) % kModeCount + kModeCount) % kModeCount;
    if (*ModeLabel(index + 1)) return index;
  }
  return 0;
}

void OnModeTabChanged(Workspace& work, Frame& frame) {
  const int tab = TabCtrl_GetCurSel(frame.Item(IDC_MODE_TABS));
  int index = (tab < 0 ? 0 : tab) * 12 + work.modeIndex % 12;
  // A position without a mode on the new tab takes the tab's first mode.
  if (!*ModeLabel(index + 1)) index = (tab < 0 ? 0 : tab) * 12;
  SelectModeIndex(work, frame, index);
}

}  // namespace korval
