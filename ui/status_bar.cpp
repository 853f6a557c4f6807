// Status bar texts and their display.
#include "ui/status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "engine/list_selection.h"
#include "modes/change_mode.h"
#include "platform/format_text.h"
#include "resources/resource.h"

namespace korval {
namespace {

// The hint of each mode, by mode number - 1; empty where no mode is.
constexpr const wchar_t* kModeHints[kModeCount] = {
    L" 文字を追加したり、必要ない箇所の文字を削除します。",
    L" 拡張子を変更します。空白にすると拡張子がなくなります。",
    L" 連番を付けます。数字以外の文字も入力できます。",
    L" 大文字・小文字を変換します。",
    L" 英字・数字・カタカナ・記号の文字を全角/半角にします。",
    L" \"8文字＋拡張子3文字\" の形式にします。",
    L" 文字を前か後ろに付加します。",
    L" 一部の文字を削除します。",
    L" 作成日時、更新日時、撮影日時を追加します。",
    L" ある文字を他の文字に置き換えます。正規表現も使えます。",
    L" 作成済みのCSVファイルを読み込みます。",
    L" ランダムなファイル名にします。つまりパルプンテです。",
    L" タイムスタンプを指定した日時にします。",
    L" 読み取り専用・隠しファイル等の属性を変更します。",
    L"", L"", L"", L"",
    L" 複数のモードの処理を記録して再生(連続に処理)します。何度も利用できます。",
    L"", L"", L"", L"", L"",
};

constexpr int kCounterWidth = 250;

void SetPart(HWND status, int part, std::wstring& shown, const std::wstring& text) {
  if (shown == text) return;
  shown = text;
  if (status) SendMessageW(status, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
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
  const int mode = code - kHintModeBase;
  if (mode < 1 || mode > kModeCount || !*kModeLabels[mode - 1]) return L"";
  return FormatText(L"【%s】", kModeLabels[mode - 1]) + kModeHints[mode - 1];
}

std::wstring CounterText(size_t selected, size_t total) {
  return FormatText(L"選択 %3d/ %3d", static_cast<int>(selected), static_cast<int>(total));
}

HWND CreateStatusBar(HWND parent) {
  HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  int edges[2] = {262, 632};
  if (status) SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  return status;
}

void LayoutStatusBar(HWND status) {
  if (!status) return;
  SendMessageW(status, WM_SIZE, 0, 0);
  RECT r;
  GetClientRect(status, &r);
  int edges[2] = {std::max(0, static_cast<int>(r.right) - kCounterWidth), -1};
  SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
}

void ShowStatusHint(Workspace& work, const Frame& frame, int code) {
  if (code != kHintKeep && code != kHintCounterOnly) work.hint = code;
  if (code != kHintCounterOnly) {
    SetPart(frame.status, 0, work.shownHint, HintText(work.hint, work.UndoMode(), work.commandLine.testMode));
  }
  SetPart(frame.status, 1, work.shownCounter, CounterText(SelectedCount(work.list), work.list.Count()));
}

}  // namespace korval
