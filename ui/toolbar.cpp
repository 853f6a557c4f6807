// The toolbar: its table of buttons and tooltips, and the button states the window switches.
#include "ui/toolbar.h"

#include <commctrl.h>

#include "platform/dpi.h"
#include "resources/resource.h"

namespace korval {
namespace {

constexpr COLORREF kToolbarMask = RGB(192, 192, 192);  // the pictures' background

}  // namespace

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

void SetToolbarImages(HWND toolbar, int dpi) {
  if (!toolbar) return;
  HIMAGELIST images = nullptr;
  if (dpi > 0) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(toolbar, GWLP_HINSTANCE));
    images = LoadImageListForDpi(instance, IDB_TOOLBAR, dpi, kToolbarMask);
    const int size = IconSizeForDpi(dpi);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELONG(size, size));
  }
  auto old = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images)));
  if (old) ImageList_Destroy(old);
}

HWND CreateToolbar(HWND parent, int dpi) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP |
                                     CCS_NORESIZE,
                                 0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR)),
                                 instance, nullptr);
  if (!toolbar) return nullptr;
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SetToolbarImages(toolbar, dpi);
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
