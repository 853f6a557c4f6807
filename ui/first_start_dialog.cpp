// The first-start dialog.
#include "ui/first_start_dialog.h"

#include "config/display_name.h"
#include "platform/format_text.h"
#include "resources/resource.h"

namespace korval {
namespace {

// The systems the program is made for.
constexpr const wchar_t* kSupported[] = {L"Windows2000", L"WindowsXP", L"WindowsXP x64", L"Windows Vista",
                                         L"Windows 7",   L"Windows 8", L"Windows 8.1",   L"Windows 10"};

void ShowNameLine(HWND dialog) {
  const bool off = IsDlgButtonChecked(dialog, IDC_FIRST_NAME_CHECK) == BST_CHECKED;
  SetDlgItemTextW(dialog, IDC_FIRST_NAME_LINE, FirstStartNameLine(off).c_str());
}

INT_PTR CALLBACK FirstStartProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* data = reinterpret_cast<FirstStartData*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      data = reinterpret_cast<FirstStartData*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemTextW(dialog, IDC_FIRST_VERDICT, FirstStartVerdict(data->windows).c_str());
      CheckDlgButton(dialog, IDC_FIRST_NAME_CHECK, data->usejpname ? BST_UNCHECKED : BST_CHECKED);
      ShowNameLine(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_FIRST_NAME_CHECK: ShowNameLine(dialog); return TRUE;
        case IDOK:
          data->usejpname = IsDlgButtonChecked(dialog, IDC_FIRST_NAME_CHECK) == BST_CHECKED ? 0 : 1;
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
      }
    default: return FALSE;
  }
}

}  // namespace

std::wstring FirstStartVerdict(const WindowsVersion& windows) {
  const std::wstring name = windows.name ? windows.name : L"";
  std::wstring verdict = L"NG\n\nこのWindowsのバージョンはサポートしていません。";
  for (const wchar_t* supported : kSupported) {
    if (name == supported) verdict = L"OK\n\nご使用いただきありがとうございます。m(_ _)m";
  }
  if (name == L"New Windows") verdict = L"Warn\n\nWindows8.1より新しいため機能しない可能性があります。";
  return FormatText(L"【 初回起動 】　　　　　[%s]:", name.c_str()) + verdict;
}

std::wstring FirstStartNameLine(bool japaneseNameOff) {
  return FormatText(L"「%s」の表記が使われます。", DisplayName(japaneseNameOff ? 0 : 1));
}

bool ShowFirstStartDialog(HWND owner, FirstStartData* io) {
  const auto instance = owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)) : GetModuleHandleW(nullptr);
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_FIRST_START), owner, FirstStartProc,
                         reinterpret_cast<LPARAM>(io)) == IDOK;
}

}  // namespace korval
