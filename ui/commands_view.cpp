// Commands of the view and settings menus: toolbar, folder tree and status bar shown or hidden,
// topmost, the input history switches, and the Tab focus order.
#include <windows.h>

#include <commctrl.h>

#include "engine/show_message.h"
#include "platform/format_text.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/main_frame.h"
#include "ui/status_bar.h"
#include "ui/timers.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

// The focus order of Tab: the list, the buttons around it, the mode panel, preview and execute.
constexpr int kFocusOrder[] = {
    IDC_RENAME_LIST, IDC_FILTER, IDC_DELETE_SELECTED, IDC_CLEAR_ALL, IDC_TEXT_EDITOR, IDC_UNDO, IDC_UNDO_SLOT,
    1007, 1694, 1008, 1547, 1017, 1151, 1638, 1755, 1152, 1054, 1751, 1537, 1075, 1076, 1077, 1078, 1743, 1762,
    1630, 1625, 1157, 1623, 1626, 1761, 1154, 1521, 1155, 1740, 1672, 1673, 1156, 1692, 1742, 1739, 1633, 1727,
    1732, 1728, 1744, 1745, 1764, 1603, 1748, 1604, 1605, 1750, 1110, 1111, 1112, 1113, 1158, 1635, 1634, 1726,
    IDC_PREVIEW, IDC_EXECUTE};
constexpr int kFocusCount = static_cast<int>(sizeof(kFocusOrder) / sizeof(kFocusOrder[0]));

HWND FocusTarget(const Frame& frame, int id) { return id == IDC_RENAME_LIST ? frame.list : frame.Item(id); }

// The position in the focus order of the control that has the focus (or whose box holds it).
int FocusPosition(const Frame& frame) {
  HWND focus = GetFocus();
  for (int i = 0; i < kFocusCount; ++i) {
    HWND target = FocusTarget(frame, kFocusOrder[i]);
    if (target && (focus == target || IsChild(target, focus))) return i;
  }
  return -1;
}

struct HistorySwitch {
  int command;
  int bit;
  const wchar_t* name;
};
constexpr HistorySwitch kHistorySwitches[] = {
    {IDM_HISTORY_FILTER, kLogFilter, L"絞り込み"},
    {IDM_HISTORY_REPLACE, kLogReplace, L"置換"},
    {IDM_HISTORY_OTHER, kLogOther, L"絞り込み・置換以外"},
};

void ClearHistory(Settings& s, int bit) {
  if (bit == kLogFilter) s.filterHistory.assign(1, kFilterHistoryFirst);
  if (bit == kLogReplace) {
    s.replaceFromHistory.clear();
    s.replaceToHistory.clear();
  }
  if (bit == kLogOther) {
    s.extHistory.clear();
    s.serialHistory.clear();
    s.addHistory.clear();
  }
}

}  // namespace

void OnToggleToolbar(CommandContext& c) {
  int& d = c.work.settings.dispcontrols;
  d = (d & 3) ? (d & ~3) : (d | 2);
  ApplyDisplayFlags(c.work, c.frame);
}

void OnToggleStatusBar(CommandContext& c) {
  c.work.settings.dispcontrols ^= 4;
  ApplyDisplayFlags(c.work, c.frame);
}

void OnToggleTree(CommandContext& c) {
  c.work.settings.dispcontrols ^= 8;
  ApplyDisplayFlags(c.work, c.frame);
}

void OnLivePreviewSwitch(CommandContext& c) {
  c.work.settings.livepreview = c.work.settings.livepreview ? 0 : 1;
  if (!c.work.settings.livepreview) KillTimer(c.frame.main, kTimerLivePreview);
  ShowMenuChecks(c.work, c.frame);
  ShowStatusHint(c.work, c.frame, kHintKeep);
}

void OnTopmost(CommandContext& c) {
  c.work.settings.topmost = c.work.settings.topmost ? 0 : 1;
  ApplyTopmost(c.work, c.frame);
}

void OnHistorySwitch(CommandContext& c) {
  Settings& s = c.work.settings;
  for (const HistorySwitch& h : kHistorySwitches) {
    if (h.command != c.id) continue;
    s.inputlog ^= h.bit;
    if (!(s.inputlog & h.bit) &&
        ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONQUESTION, L"Logging Stopped. Clear Log?",
                    FormatText(L"入力履歴の記録を中止しました。%sの履歴の消去も行いますか。", h.name),
                    MessageClass::Question) == IDYES) {
      ClearHistory(s, h.bit);
    }
  }
  ShowMenuChecks(c.work, c.frame);
}

void OnFocusStep(CommandContext& c) {
  const int step = c.id == IDM_FOCUS_NEXT ? 1 : -1;
  int position = FocusPosition(c.frame);
  for (int k = 0; k < kFocusCount; ++k) {
    position = ((position + step) % kFocusCount + kFocusCount) % kFocusCount;
    HWND target = FocusTarget(c.frame, kFocusOrder[position]);
    if (target && IsWindowVisible(target) && IsWindowEnabled(target)) {
      SetFocus(target);
      return;
    }
  }
}

}  // namespace korval
