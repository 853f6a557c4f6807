// The file dialogs of the CSV commands and the chooser of Ctrl+S.
#include "ui/csv_dialogs.h"

#include "platform/common_dialogs.h"
#include "platform/path_limits.h"
#include "resources/resource.h"

namespace korval {
namespace {

constexpr wchar_t kCsvFilter[] = L"CSVファイル (*.csv)\0*.csv\0";
constexpr const wchar_t* kOpenTitle = L"csvファイルを読み込む";
constexpr const wchar_t* kFormatEntries[] = {
    L"標準形式 （\"name1.ext\",\"name2.ext\",\"C:\\folder\\\"）",
    L"変更前フルパス名 （C:\\folder\\name1.ext）",
    L"変更前フルパス,変更後 （\"C:\\folder\\name1.ext\",\"name2.ext\"）",
};

HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
}

// The hook of the "書式" box: filled when the dialog opens, read when the user confirms.
UINT_PTR CALLBACK FormatHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* data = reinterpret_cast<CsvSaveDialogData*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
    SetWindowLongPtrW(child, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
    HWND box = GetDlgItem(child, IDC_CSV_FORMAT);
    for (const wchar_t* entry : kFormatEntries) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    const int format = data->format >= 0 && data->format < 3 ? data->format : 0;
    SendMessageW(box, CB_SETCURSEL, format, 0);
    return 0;
  }
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_FILEOK) {
    auto* data = reinterpret_cast<CsvSaveDialogData*>(GetWindowLongPtrW(child, DWLP_USER));
    const LRESULT chosen = SendDlgItemMessageW(child, IDC_CSV_FORMAT, CB_GETCURSEL, 0, 0);
    if (data && chosen >= 0) data->format = static_cast<int>(chosen);
  }
  return 0;
}

OPENFILENAMEW FileDialog(HWND owner, wchar_t* path, const wchar_t* title) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kCsvFilter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = static_cast<DWORD>(kMaxLongPathChars + 1);
  dialog.lpstrTitle = title;
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  return dialog;
}

INT_PTR CALLBACK ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_CHOOSE_SELECTION: EndDialog(dialog, static_cast<INT_PTR>(SaveChoice::Selection)); return TRUE;
    case IDC_CHOOSE_ALL: EndDialog(dialog, static_cast<INT_PTR>(SaveChoice::All)); return TRUE;
    case IDC_CHOOSE_LAST_LOG: EndDialog(dialog, static_cast<INT_PTR>(SaveChoice::LastLog)); return TRUE;
    case IDCANCEL: EndDialog(dialog, static_cast<INT_PTR>(SaveChoice::None)); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

bool ShowCsvSaveDialog(HWND owner, CsvSaveDialogData* io) {
  std::wstring path(kMaxLongPathChars + 1, L'\0');
  OPENFILENAMEW dialog = FileDialog(owner, path.data(), io->title);
  dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  if (io->withFormat) {
    dialog.Flags |= OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
    dialog.hInstance = InstanceOf(owner);
    dialog.lpTemplateName = MAKEINTRESOURCEW(IDD_CSV_SAVE_FORMAT);
    dialog.lpfnHook = FormatHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(io);
  }
  if (!SaveFileDialog(&dialog)) return false;
  io->path = path.c_str();
  return true;
}

bool ShowCsvOpenDialog(HWND owner, std::wstring* path) {
  std::wstring chosen(kMaxLongPathChars + 1, L'\0');
  OPENFILENAMEW dialog = FileDialog(owner, chosen.data(), kOpenTitle);
  dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (!OpenFileDialog(&dialog)) return false;
  *path = chosen.c_str();
  return true;
}

SaveChoice ShowSaveChooser(HWND owner) {
  const INT_PTR chosen = DialogBoxParamW(InstanceOf(owner), MAKEINTRESOURCEW(IDD_CSV_SAVE_CHOOSER), owner,
                                         ChooserProc, 0);
  return chosen > 0 ? static_cast<SaveChoice>(chosen) : SaveChoice::None;
}

}  // namespace korval
