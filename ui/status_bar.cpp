// Status bar texts and their display.
#include "ui/status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "engine/list_selection.h"
#include "modes/change_mode.h"
#include "platform/dpi.h"
#include "platform/format_text.h"
#include "resources/resource.h"
#include "ui/live_preview.h"

namespace korval {
namespace {

constexpr int kCounterWidth = 250;  // at 96 DPI, as the part edges below

void SetPart(HWND status, int part, std::wstring& shown, const std::wstring& text) {
  if (shown == text) return;
  shown = text;
  if (status) SendMessageW(status, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

// Whether the text fits the hint part as the bar's font draws it: a note added to a mode's own hint
// is left out rather than cutting it.
bool FitsHintPart(HWND status, const std::wstring& text) {
  RECT part{};
  if (!status || !SendMessageW(status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part))) return false;
  HDC dc = GetDC(status);
  if (!dc) return false;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(status, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(status, dc);
  return size.cx < part.right - part.left - 8;
}

}  // namespace

std::wstring HintText(int code, bool undoMode, bool testMode) {
  if (testMode) return kTestModeBanner;
  if (undoMode) return kUndoHint;
  switch (code) {
    case kHintIdle: return L" ■ファイルやフォルダをドラッグ＆ドロップして下さい。■";
    case kHintSorting: return L" リストをソート中 ...";
    case kHintDeleting: return L" 選択アイテムを消去中 ...";
    case kHintClearing: return L" 全アイテムを消去中 ...";
    case kHintReading: return L" ファイルを読み込み中 ... （◆◆ ESCキー長押しで中断します ◆◆）";
    case kHintSelectingAll: return L" 全選択中 ...";
    case kHintToggling: return L" 選択アイテムを切り替え中 ...";
    default: break;
  }
  const ModeDescriptor* mode = ModeDescriptorOf(code - kHintModeBase);
  if (!mode) return L"";
  return FormatText(L"【%s】", mode->label) + mode->hint;
}

std::wstring CounterText(size_t selected, size_t total) {
  return FormatText(L"選択 %3d/ %3d", static_cast<int>(selected), static_cast<int>(total));
}

HWND CreateStatusBar(HWND parent, int dpi) {
  HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  int edges[2] = {ScaleToDpi(262, dpi), ScaleToDpi(632, dpi)};
  if (status) SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  return status;
}

void LayoutStatusBar(HWND status, int dpi) {
  if (!status) return;
  SendMessageW(status, WM_SIZE, 0, 0);
  RECT r;
  GetClientRect(status, &r);
  int edges[2] = {std::max(0, static_cast<int>(r.right) - ScaleToDpi(kCounterWidth, dpi)), -1};
  SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

void ShowStatusHint(Workspace& work, const Frame& frame, int code) {
  if (code != kHintKeep && code != kHintCounterOnly) work.hint = code;
  if (code != kHintCounterOnly) {
    const bool passText = work.hint == kHintPassText && !work.UndoMode() && !work.commandLine.testMode;
    std::wstring hint = passText ? work.passHint : HintText(work.hint, work.UndoMode(), work.commandLine.testMode);
    if (work.hint == kHintPathsNotTaken) {
      hint = FormatText(L"２重起動で渡されたパス %d 件はリストに追加できませんでした。", static_cast<int>(work.pathsNotTaken));
    }
    // A mode whose names cannot follow the typing says so, while the names follow in the others.
    const bool modeHint = !passText && !work.UndoMode() && !work.commandLine.testMode && work.hint >= kHintModeBase &&
                          work.hint < kHintPassText;
    if (modeHint && work.settings.livepreview && !ModeFollowsTyping(work.hint - kHintModeBase) &&
        FitsHintPart(frame.status, hint + kNoLivePreviewHint)) {
      hint += kNoLivePreviewHint;
    }
    SetPart(frame.status, 0, work.shownHint, hint);
  }
  SetPart(frame.status, 1, work.shownCounter, CounterText(SelectedCount(work.list), work.list.Count()));
}

}  // namespace korval
