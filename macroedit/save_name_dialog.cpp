// The naming dialog: the slot names in an editable list, the chosen slot's number beside it.
#include "macroedit/save_name_dialog.h"

#include "platform/dialog_box.h"
#include "platform/dpi.h"
#include "platform/format_text.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

constexpr int kOffsetRight = 420, kOffsetDown = 10;  // at 96 DPI
constexpr int kMaxNameChars = 256;

void ShowSlotNumber(HWND dialog, int slotIndex) {
  SetDlgItemTextW(dialog, IDC_SAVE_SLOT_NUMBER, FormatText(L"%d：", slotIndex + 1).c_str());
}

void OnInit(HWND dialog, SaveNameData* io) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(io));
  HWND names = GetDlgItem(dialog, IDC_SAVE_NAMES);
  for (const std::wstring& name : io->names) SendMessageW(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(names, CB_LIMITTEXT, kMaxNameChars, 0);
  SendMessageW(names, CB_SETCURSEL, static_cast<WPARAM>(io->slotIndex), 0);
  ShowSlotNumber(dialog, io->slotIndex);
  SetDlgItemTextW(dialog, IDC_SAVE_TEXT,
                  FormatText(L"\"%s\" を1つ選択し、名前を付けてください。\r\n\r\n\"%s\" 以外を選んで名前を付けると上書きされます。",
                             kUnregisteredSlotText, kUnregisteredSlotText)
                      .c_str());
  RECT owner{};
  GetWindowRect(GetParent(dialog), &owner);
  const int dpi = WindowDpi(dialog);
  SetWindowPos(dialog, nullptr, owner.left + ScaleToDpi(kOffsetRight, dpi), owner.top + ScaleToDpi(kOffsetDown, dpi), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TakeName(HWND dialog, SaveNameData* io) {
  wchar_t name[kMaxNameChars + 1] = L"";
  GetDlgItemTextW(dialog, IDC_SAVE_NAMES, name, kMaxNameChars + 1);
  io->name = name;
}

INT_PTR CALLBACK SaveNameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* io = reinterpret_cast<SaveNameData*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog, reinterpret_cast<SaveNameData*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_SAVE_NAMES && HIWORD(wParam) == CBN_SELCHANGE) {
        const LRESULT selection = SendDlgItemMessageW(dialog, IDC_SAVE_NAMES, CB_GETCURSEL, 0, 0);
        if (selection != CB_ERR) {
          io->slotIndex = static_cast<int>(selection);
          ShowSlotNumber(dialog, io->slotIndex);
        }
        return TRUE;
      }
      return EndOnOkOrCancel(dialog, LOWORD(wParam), [&] { TakeName(dialog, io); });
  }
  return FALSE;
}

}  // namespace

bool ShowSaveNameDialog(HWND owner, SaveNameData* io) {
  return RunDialog(owner, IDD_SAVE_NAME, SaveNameProc, io);
}

}  // namespace korval
