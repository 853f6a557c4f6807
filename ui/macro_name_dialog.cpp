// The macro naming dialog.
#include "ui/macro_name_dialog.h"

#include "platform/dialog_box.h"
#include "platform/dpi.h"
#include "resources/resource.h"

namespace korval {
namespace {

constexpr UINT_PTR kFocusTimer = 1;
constexpr int kMaxNameChars = 256;

INT_PTR CALLBACK MacroNameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* data = reinterpret_cast<MacroNameData*>(GetWindowLongPtrW(dialog, DWLP_USER));
  HWND list = GetDlgItem(dialog, IDC_MACRO_NAME_LIST);
  switch (message) {
    case WM_INITDIALOG: {
      data = reinterpret_cast<MacroNameData*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      for (const std::wstring& text : *data->slots) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SendMessageW(list, CB_LIMITTEXT, kMaxNameChars, 0);
      SendMessageW(list, CB_SETCURSEL, data->slot, 0);
      // 420 pixels right of and 10 below the main window's top left corner, at 96 DPI.
      RECT owner;
      if (GetWindowRect(GetParent(dialog), &owner)) {
        const int dpi = WindowDpi(dialog);
        SetWindowPos(dialog, nullptr, owner.left + ScaleToDpi(420, dpi), owner.top + ScaleToDpi(10, dpi), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
      }
      SetTimer(dialog, kFocusTimer, 35, nullptr);
      return TRUE;
    }
    case WM_TIMER:
      KillTimer(dialog, kFocusTimer);
      SetFocus(list);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_MACRO_NAME_LIST && HIWORD(wParam) == CBN_SELCHANGE) {
        const LRESULT chosen = SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (chosen >= 0) data->slot = static_cast<int>(chosen);
        return TRUE;
      }
      return EndOnOkOrCancel(dialog, LOWORD(wParam), [&] {
        wchar_t name[kMaxNameChars + 1] = L"";
        GetWindowTextW(list, name, kMaxNameChars + 1);
        data->name = name;
      });
    default: return FALSE;
  }
}

}  // namespace

bool ShowMacroNameDialog(HWND owner, MacroNameData* io) { return RunDialog(owner, IDD_MACRO_NAME, MacroNameProc, io); }

}  // namespace korval
