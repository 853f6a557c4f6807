// The serial input dialog over the shared template splitter.
#include "macroedit/serial_assist_dialog.h"

#include "platform/dialog_box.h"
#include "modes/serial_assist.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[kMaxAssistTemplateChars + 1] = L"";
  GetDlgItemTextW(dialog, id, text, kMaxAssistTemplateChars + 1);
  return text;
}

SerialAssistFields ReadFields(HWND dialog) {
  SerialAssistFields fields;
  fields.prefix = ItemText(dialog, IDC_ASSIST_PREFIX);
  fields.start = ItemText(dialog, IDC_ASSIST_START);
  fields.suffix = ItemText(dialog, IDC_ASSIST_SUFFIX);
  fields.step = ItemText(dialog, IDC_ASSIST_STEP);
  fields.minus = SendDlgItemMessageW(dialog, IDC_ASSIST_SIGN, CB_GETCURSEL, 0, 0) == 1;
  return fields;
}

void ShowPreview(HWND dialog) {
  SetDlgItemTextW(dialog, IDC_ASSIST_PREVIEW, RebuildSerialTemplate(ReadFields(dialog)).c_str());
}

INT_PTR CALLBACK SerialAssistProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* io = reinterpret_cast<SerialAssistData*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      io = reinterpret_cast<SerialAssistData*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetWindowTextW(dialog, SerialAssistTitle(io->mode).c_str());
      const SerialAssistFields fields = SplitSerialTemplate(io->serial);
      SetDlgItemTextW(dialog, IDC_ASSIST_PREFIX, fields.prefix.c_str());
      SetDlgItemTextW(dialog, IDC_ASSIST_START, fields.start.c_str());
      SetDlgItemTextW(dialog, IDC_ASSIST_SUFFIX, fields.suffix.c_str());
      SetDlgItemTextW(dialog, IDC_ASSIST_STEP, fields.step.c_str());
      SendDlgItemMessageW(dialog, IDC_ASSIST_SIGN, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"+"));
      SendDlgItemMessageW(dialog, IDC_ASSIST_SIGN, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"-"));
      SendDlgItemMessageW(dialog, IDC_ASSIST_SIGN, CB_SETCURSEL, fields.minus ? 1 : 0, 0);
      ShowPreview(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      if (EndOnOkOrCancel(dialog, LOWORD(wParam), [&] { io->serial = RebuildSerialTemplate(ReadFields(dialog)); })) {
        return TRUE;
      }
      if (HIWORD(wParam) == EN_CHANGE || HIWORD(wParam) == CBN_SELCHANGE) ShowPreview(dialog);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

bool ShowSerialAssistDialog(HWND owner, SerialAssistData* io) {
  return RunDialog(owner, IDD_SERIAL_ASSIST, SerialAssistProc, io);
}

}  // namespace korval
