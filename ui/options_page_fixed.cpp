// Options page 3 "設定の固定": values applied at the next start instead of those at exit. The
// window and column switches are saved by their own button at once; OK leaves them as they were.
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "ui/options_dialog.h"

namespace korval {
namespace {

using S = Settings;
using B = BindKind;

constexpr OptionBinding kBindings[] = {
    {IDC_OPT_FIX_MODE, B::Bit, &S::option3, nullptr, kFixMode},
    {IDC_OPT_FIX_SERIAL, B::Bit, &S::option3, nullptr, kFixSerialStart},
    {IDC_OPT_FIX_SERIAL_TEXT, B::Text, nullptr, &S::frenbanstr},
    {IDC_OPT_FIX_DATE, B::Bit, &S::option3, nullptr, kFixDateSeparator},
    {IDC_OPT_FIX_DATE_TEXT, B::Text, nullptr, &S::fsepstr},
    {IDC_OPT_FIX_ADD, B::Bit, &S::option3, nullptr, kFixAddText},
    {IDC_OPT_FIX_ADD_TEXT, B::Text, nullptr, &S::faddstr},
};

constexpr int kSavedByButton = kFixWindow | kFixColumns;

// The modes with a button, each entry keeping its mode index.
void FillModes(HWND page, int selectedIndex) {
  HWND list = GetDlgItem(page, IDC_OPT_FIX_MODE_LIST);
  for (int index = 0; index < kModeCount; ++index) {
    if (!*ModeLabel(index + 1)) continue;
    const LRESULT entry = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ModeLabel(index + 1)));
    SendMessageW(list, CB_SETITEMDATA, entry, index);
    if (index == selectedIndex) SendMessageW(list, CB_SETCURSEL, entry, 0);
  }
  if (SendMessageW(list, CB_GETCURSEL, 0, 0) == CB_ERR) SendMessageW(list, CB_SETCURSEL, 0, 0);
}

void Opened(HWND page, OptionsData& data) {
  CheckDlgButton(page, IDC_OPT_FIX_WINDOW, (data.settings.option3 & kFixWindow) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(page, IDC_OPT_FIX_COLUMNS, (data.settings.option3 & kFixColumns) ? BST_CHECKED : BST_UNCHECKED);
  FillModes(page, data.settings.mode);
}

bool Command(HWND page, int control, int code, OptionsData& data) {
  if (control != IDC_OPT_SAVE_NOW || code != BN_CLICKED) return false;
  const int bits = (IsDlgButtonChecked(page, IDC_OPT_FIX_WINDOW) == BST_CHECKED ? kFixWindow : 0) |
                   (IsDlgButtonChecked(page, IDC_OPT_FIX_COLUMNS) == BST_CHECKED ? kFixColumns : 0);
  data.settings.option3 = (data.settings.option3 & ~kSavedByButton) | bits;
  if (data.saveNow) data.saveNow(bits);
  return true;
}

void Accepted(HWND page, OptionsData& data) {
  const LRESULT entry = SendDlgItemMessageW(page, IDC_OPT_FIX_MODE_LIST, CB_GETCURSEL, 0, 0);
  if (entry != CB_ERR) {
    data.settings.mode = static_cast<int>(SendDlgItemMessageW(page, IDC_OPT_FIX_MODE_LIST, CB_GETITEMDATA, entry, 0));
  }
}

}  // namespace

const OptionsPage& FixedPage() {
  static const OptionsPage page{L"IDPAGE3", kBindings, {}, Opened, Command, Accepted, nullptr};
  return page;
}

}  // namespace korval
