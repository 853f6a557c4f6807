// The toolbar: its table of buttons and tooltips, and the button states the window switches.
#include "ui/toolbar.h"

#include <commctrl.h>

#include "resources/resource.h"

namespace korval {

const ToolbarButton kToolbarButtons[kToolbarPositions] = {
    {0, nullptr},
    {IDM_OPEN_FOLDER, L"フォルダを選択する(Ctrl+F)"},
    {IDM_OPEN_CSV, L"CSVを開く(Ctrl+O)"},
    {0, nullptr},
    {IDM_SAVE_CSV, L"CSV形式で保存(Ctrl+S)"},
    {IDM_REFRESH, L"更新(F5)"},
    {IDM_CUT, L"切り取り(Ctrl+X)"},
    {IDM_COPY, L"コピー(Ctrl+C)"},
    {0, nullptr},
    {IDM_PASTE, L"貼り付け(Ctrl+V)"},
    {IDM_MOVE_UP, L"アイテムを上へ(Alt+↑)"},
    {0, nullptr},
    {IDM_MOVE_DOWN, L"アイテムを下へ(Alt+↓)"},
    {0, nullptr},
    {IDM_TOGGLE_TREE, L"ツリー表示"},
    {0, nullptr},
    {IDM_ENTER, L"実行(Enter)"},
    {0, nullptr},
    {IDM_RECORD_MACRO, L"マクロの記録"},
    {IDM_OPTIONS, L"オプション"},
    {IDM_ABOUT, L"バージョン情報"},
};

HWND CreateToolbar(HWND parent) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP,
                                 0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR)),
                                 instance, nullptr);
  if (!toolbar) return nullptr;
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELONG(16, 16));
  TBADDBITMAP bitmap{instance, IDB_TOOLBAR};
  SendMessageW(toolbar, TB_ADDBITMAP, 14, reinterpret_cast<LPARAM>(&bitmap));
  TBBUTTON buttons[kToolbarPositions]{};
  int image = 0;
  for (int i = 0; i < kToolbarPositions; ++i) {
    const ToolbarButton& b = kToolbarButtons[i];
    buttons[i].idCommand = b.command;
    buttons[i].iBitmap = b.command ? image++ : 0;
    buttons[i].fsStyle = b.command ? BTNS_BUTTON : BTNS_SEP;
    buttons[i].fsState = b.command ? TBSTATE_ENABLED : 0;
  }
  SendMessageW(toolbar, TB_ADDBUTTONSW, kToolbarPositions, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
  return toolbar;
}

const wchar_t* ToolbarTooltip(int command) {
  for (const ToolbarButton& b : kToolbarButtons) {
    if (b.command && b.command == command) return b.tooltip;
  }
  return nullptr;
}

void SetToolbarButtonEnabled(HWND toolbar, int command, bool enabled) {
  if (toolbar) SendMessageW(toolbar, TB_ENABLEBUTTON, command, MAKELONG(enabled, 0));
}

void SetToolbarButtonPressed(HWND toolbar, int command, bool pressed) {
  if (toolbar) SendMessageW(toolbar, TB_PRESSBUTTON, command, MAKELONG(pressed, 0));
}

}  // namespace korval
