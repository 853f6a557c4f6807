// Options page 1 "変更/警告": errors, the Enter key, a second instance, the forced changes with their
// status icons, the serial added on a name collision, and the confirmation before renaming.
#include <windows.h>

#include <commctrl.h>

#include "engine/item_status.h"
#include "platform/dpi.h"
#include "resources/resource.h"
#include "ui/about_dialog.h"
#include "ui/options_dialog.h"

namespace korval {
namespace {

using S = Settings;
using B = BindKind;

constexpr OptionBinding kBindings[] = {
    {IDC_OPT_SHOW_ERRORS, B::Check, &S::showRenameErrors},
    {IDC_OPT_ENTER_DONT, B::Check, &S::enterdont},
    {IDC_OPT_SINGLE_INSTANCE, B::InverseCheck, &S::multiple},
    {IDC_OPT_FORCE1, B::Check, &S::force1},
    {IDC_OPT_FORCE2, B::Check, &S::force2},
    {IDC_OPT_FORCE3, B::Check, &S::force3},
    {IDC_OPT_FORCE4, B::Check, &S::force4},
    {IDC_OPT_COLLISION_PAD, B::ComboIndex, &S::adddiffpad, nullptr, 0, 2},
    {IDC_OPT_COLLISION_START, B::ComboIndex, &S::addrenbegin, nullptr, 0, 1},
    {IDC_OPT_SERIAL_WARN, B::Check, &S::addrenmsg},
    {IDC_OPT_CONFIRM_NONE, B::Radio, &S::chgconfirm, nullptr, 0},
    {IDC_OPT_CONFIRM_START, B::Radio, &S::chgconfirm, nullptr, 1},
    {IDC_OPT_CONFIRM_EACH, B::Radio, &S::chgconfirm, nullptr, 2},
};

constexpr const wchar_t* kFormats[] = {L"abc(1).txt", L"abc[1].txt", L"abc_1.txt",
                                       L"(1)abc.txt", L"[1]abc.txt", L"1_abc.txt"};
constexpr const wchar_t* kPaddings[] = {L"0埋め無し", L"01 02 ..", L"001 002 .."};
constexpr const wchar_t* kStarts[] = {L"1", L"2"};
constexpr ComboEntries kCombos[] = {
    {IDC_OPT_COLLISION_FORMAT, kFormats},
    {IDC_OPT_COLLISION_PAD, kPaddings},
    {IDC_OPT_COLLISION_START, kStarts},
};

// `collisionOption`: bit 3 adds a serial, bits 0-2 its format.
constexpr int kAddSerial = 8;
constexpr int kLastFormat = 5;

// The statuses each "変更を強行する" box lets a change go ahead with.
struct ForcedIcons {
  int control;
  ItemStatus statuses[3];
  int count;
};
constexpr ForcedIcons kForcedIcons[] = {
    {IDC_OPT_FORCE1_ICONS, {ItemStatus::TooLong, ItemStatus::InvalidName, ItemStatus::SourceMissing}, 3},
    {IDC_OPT_FORCE2_ICONS, {ItemStatus::Backslash}, 1},
    {IDC_OPT_FORCE3_ICONS, {ItemStatus::UnsuitableChar}, 1},
    {IDC_OPT_FORCE4_ICONS, {ItemStatus::Unchanged}, 1},
};

// The format, padding and start lists only matter when a serial is added.
void EnableSerialLists(HWND page) {
  const bool serial = IsDlgButtonChecked(page, IDC_OPT_COLLISION_SERIAL) == BST_CHECKED;
  for (int control : {IDC_OPT_COLLISION_FORMAT, IDC_OPT_COLLISION_PAD, IDC_OPT_COLLISION_START}) {
    EnableWindow(GetDlgItem(page, control), serial);
  }
}

void Opened(HWND page, OptionsData& data) {
  const int option = data.settings.collisionOption;
  CheckRadioButton(page, IDC_OPT_COLLISION_KEEP, IDC_OPT_COLLISION_SERIAL,
                   (option & kAddSerial) ? IDC_OPT_COLLISION_SERIAL : IDC_OPT_COLLISION_KEEP);
  const int format = option & 7;
  SendDlgItemMessageW(page, IDC_OPT_COLLISION_FORMAT, CB_SETCURSEL, format > kLastFormat ? kLastFormat : format, 0);
  EnableSerialLists(page);
}

bool Command(HWND page, int control, int code, OptionsData& data) {
  if (code != BN_CLICKED) return false;
  if (control == IDC_OPT_COLLISION_KEEP || control == IDC_OPT_COLLISION_SERIAL) {
    EnableSerialLists(page);
    return true;
  }
  if (control == IDC_OPT_ABOUT) {
    const AboutData about{data.settings.usejpname};
    ShowAboutDialog(page, &about);
    return true;
  }
  return false;
}

void Accepted(HWND page, OptionsData& data) {
  if (IsDlgButtonChecked(page, IDC_OPT_COLLISION_SERIAL) != BST_CHECKED) {
    data.settings.collisionOption = 0;
    return;
  }
  const LRESULT format = SendDlgItemMessageW(page, IDC_OPT_COLLISION_FORMAT, CB_GETCURSEL, 0, 0);
  data.settings.collisionOption = kAddSerial | (format == CB_ERR ? 0 : static_cast<int>(format));
}

bool Draw(const DRAWITEMSTRUCT* item, const OptionsData&) {
  for (const ForcedIcons& icons : kForcedIcons) {
    if (static_cast<int>(item->CtlID) != icons.control) continue;
    const int dpi = WindowDpi(item->hwndItem);
    HIMAGELIST strip = LoadImageListForDpi(GetModuleHandleW(nullptr), IDB_STATUS_STRIP, dpi, RGB(255, 255, 255));
    if (!strip) return true;
    const int step = IconSizeForDpi(dpi) + ScaleToDpi(2, dpi);
    for (int i = 0; i < icons.count; ++i) {
      ImageList_Draw(strip, static_cast<int>(icons.statuses[i]), item->hDC, item->rcItem.left + i * step,
                     item->rcItem.top, ILD_NORMAL);
    }
    ImageList_Destroy(strip);
    return true;
  }
  return false;
}

}  // namespace

const OptionsPage& ChangePage() {
  static const OptionsPage page{L"IDPAGE1", kBindings, kCombos, Opened, Command, Accepted, Draw};
  return page;
}

}  // namespace korval
