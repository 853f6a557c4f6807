// Making the mode panels' controls from their template, one mode group at a time.
#include "ui/mode_panel_controls.h"

#include <algorithm>

#include "platform/dialog_template.h"
#include "resources/resource.h"
#include "ui/macro_editor_launch.h"
#include "ui/main_dialog.h"
#include "ui/mode_groups.h"
#include "ui/panel_bindings.h"
#include "ui/recording.h"
#include "ui/time_controls.h"

namespace korval {
namespace {

bool Holds(std::span<const int> ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

HWND MadeControl(const Frame& frame, int id) {
  for (const auto& [made, control] : frame.panelControls) {
    if (made == id) return control;
  }
  return nullptr;
}

}  // namespace

std::optional<size_t> Frame::FocusedRow() const {
  if (!list) return std::nullopt;
  const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
  return focused < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(focused));
}

HWND Frame::Item(int id) const {
  for (const ControlAnchor& a : anchors) {
    if (a.id == id) return a.control;
  }
  // A made panel control is anchored: one that is not has not been made.
  return IsModeGroupControl(id) ? nullptr : GetDlgItem(dialog, id);
}

bool CreatePanelControls(Frame& frame, std::span<const int> ids) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(frame.dialog, GWLP_HINSTANCE));
  // Each control goes below the one before it in the template, so the z-order (and with it the
  // dialog's order of controls) is the template's whichever mode comes first.
  HWND above = frame.Item(IDC_MODE_BUTTON_LAST);
  bool made = false;
  for (const DialogItem& item : ReadDialogItems(instance, IDD_MODE_PANELS)) {
    HWND control = MadeControl(frame, item.id);
    if (!control && Holds(ids, item.id)) {
      control = CreateDialogItem(frame.dialog, item, frame.Font());
      if (!control) continue;
      frame.panelControls.emplace_back(item.id, control);
      SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      AnchorControl(frame, control);
      made = true;
    }
    if (control) above = control;
  }
  return made;
}

void EnsureModeGroup(Workspace& work, Frame& frame, int mode) {
  const std::span<const int> group = ModeGroupOf(mode);
  if (group.empty() || !CreatePanelControls(frame, group) || !frame.setUpFinished) return;
  const bool was = work.fillingPanel;
  work.fillingPanel = true;  // what is written into them now is no change of the person's
  FillPanelLists(work, frame, group);
  WritePanel(work, frame, group);
  if (Holds(group, IDC_TIME_DATE)) InitTimeControls(frame, work.panel);
  if (Holds(group, IDC_MACRO_SLOT)) {
    ShowMacroSlots(work, frame);
    SetWindowTextW(frame.Item(IDC_MACRO_EDIT), work.macroEditorStarted ? kRefreshListButtonText : kEditButtonText);
    EnableMacroSlotControls(frame, !work.Recording());
  }
  if (HWND box = frame.Item(IDC_POSITION_TEXT); box && Holds(group, IDC_POSITION_TEXT)) {
    SetWindowTextW(box, work.panel.positionText.c_str());
  }
  work.fillingPanel = was;
}

}  // namespace korval
