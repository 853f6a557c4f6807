// The about box.
#include "ui/about_dialog.h"

#include "config/display_name.h"
#include "engine/item_status.h"
#include "platform/format_text.h"
#include "resources/resource.h"
#include "resources/version.h"

namespace korval {
namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* data = reinterpret_cast<const AboutData*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const std::wstring version =
          FormatText(L"%s  Version %s", DisplayName(data ? data->usejpname : 1), KORVAL_VERSION_WIDE);
      SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, version.c_str());
      SetDlgItemTextW(dialog, IDC_ABOUT_LEGEND, StatusLegendText().c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

void ShowAboutDialog(HWND owner, const AboutData* data) {
  DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), MAKEINTRESOURCEW(IDD_ABOUT),
                  owner, AboutProc, reinterpret_cast<LPARAM>(data));
}

}  // namespace korval
