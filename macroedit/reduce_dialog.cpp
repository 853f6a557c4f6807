// The reduction dialog: the numbers 2 to 8 in a list, the chosen index on OK.
#include "macroedit/reduce_dialog.h"

#include <string>

#include "platform/dialog_box.h"
#include "macroedit/reduce_replacements.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

INT_PTR CALLBACK ReduceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* io = reinterpret_cast<ReduceData*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      io = reinterpret_cast<ReduceData*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemTextW(dialog, IDC_REDUCE_TEXT,
                      L"置換の手順の数を削減します。\r\n連続している置換を、\"/\"区切りの置換に集約します。");
      for (int parts = kMinMultiReplace; parts <= kMaxMultiReplace; ++parts) {
        SendDlgItemMessageW(dialog, IDC_REDUCE_MAX, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(std::to_wstring(parts).c_str()));
      }
      SendDlgItemMessageW(dialog, IDC_REDUCE_MAX, CB_SETCURSEL, static_cast<WPARAM>(io->maxmultirep), 0);
      return TRUE;
    }
    case WM_COMMAND:
      return EndOnOkOrCancel(dialog, LOWORD(wParam), [&] {
        const LRESULT selection = SendDlgItemMessageW(dialog, IDC_REDUCE_MAX, CB_GETCURSEL, 0, 0);
        if (selection != CB_ERR) io->maxmultirep = static_cast<int>(selection);
      });
  }
  return FALSE;
}

}  // namespace

bool ShowReduceDialog(HWND owner, ReduceData* io) {
  return RunDialog(owner, IDD_REDUCE, ReduceProc, io);
}

}  // namespace korval
