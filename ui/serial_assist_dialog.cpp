// The serial template assist dialog.
#include "ui/serial_assist_dialog.h"

#include "modes/serial_assist.h"
#include "platform/dialog_box.h"
#include "resources/resource.h"

namespace korval {
namespace {

std::wstring FieldText(HWND dialog, int id) {
  wchar_t text[kMaxAssistTemplateChars + 2] = L"";
  GetDlgItemTextW(dialog, id, text, static_cast<int>(kMaxAssistTemplateChars + 1));
  return text;
}

INT_PTR CALLBACK SerialAssistProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* data = reinterpret_cast<SerialAssistData*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      data = reinterpret_cast<SerialAssistData*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetWindowTextW(dialog, SerialAssistTitle(data->mode).c_str());
      const SerialAssistFields fields = SplitSerialTemplate(data->templateText);
      SetDlgItemTextW(dialog, IDC_ASSIST_PREFIX, fields.prefix.c_str());
      SetDlgItemTextW(dialog, IDC_ASSIST_START, fields.start.c_str());
      SetDlgItemTextW(dialog, IDC_ASSIST_SUFFIX, fields.suffix.c_str());
      SetDlgItemTextW(dialog, IDC_ASSIST_STEP, fields.step.c_str());
      HWND sign = GetDlgItem(dialog, IDC_ASSIST_SIGN);
      SendMessageW(sign, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"+"));
      SendMessageW(sign, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"-"));
      SendMessageW(sign, CB_SETCURSEL, fields.minus ? 1 : 0, 0);
      return TRUE;
    }
    case WM_COMMAND:
      return EndOnOkOrCancel(dialog, LOWORD(wParam), [&] {
        SerialAssistFields fields;
        fields.prefix = FieldText(dialog, IDC_ASSIST_PREFIX);
        fields.start = FieldText(dialog, IDC_ASSIST_START);
        fields.suffix = FieldText(dialog, IDC_ASSIST_SUFFIX);
        fields.step = FieldText(dialog, IDC_ASSIST_STEP);
        fields.minus = SendMessageW(GetDlgItem(dialog, IDC_ASSIST_SIGN), CB_GETCURSEL, 0, 0) == 1;
        data->templateText = RebuildSerialTemplate(fields);
      });
    default: return FALSE;
  }
}

}  // namespace

bool ShowSerialAssistDialog(HWND owner, SerialAssistData* io) {
  return RunDialog(owner, IDD_SERIAL_ASSIST, SerialAssistProc, io);
}

}  // namespace korval
