// The two loops over a page's binding table.
#include "ui/options_binding.h"

#include <algorithm>

namespace korval {
namespace {

std::wstring ControlText(HWND page, int control) {
  HWND box = GetDlgItem(page, control);
  const int length = GetWindowTextLengthW(box);
  std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  GetWindowTextW(box, text.data(), static_cast<int>(text.size()));
  text.resize(wcslen(text.c_str()));
  if (text.size() > static_cast<size_t>(kOptionTextLimit)) text.resize(kOptionTextLimit);
  return text;
}

bool Checked(HWND page, int control) { return IsDlgButtonChecked(page, control) == BST_CHECKED; }

void Check(HWND page, int control, bool on) { CheckDlgButton(page, control, on ? BST_CHECKED : BST_UNCHECKED); }

// Edit boxes and editable lists take no more than the store keeps.
void LimitText(HWND box) {
  wchar_t name[16] = L"";
  GetClassNameW(box, name, 16);
  SendMessageW(box, lstrcmpiW(name, L"ComboBox") == 0 ? CB_LIMITTEXT : EM_LIMITTEXT, kOptionTextLimit, 0);
}

}  // namespace

std::wstring StoredNumber(const std::wstring& typed, long long bound) {
  long long value = 0;
  bool digits = false;
  for (wchar_t c : typed) {
    if (c < L'0' || c > L'9') continue;
    digits = true;
    value = std::min(value * 10 + (c - L'0'), bound);
  }
  return digits ? std::to_wstring(value) : std::wstring();
}

void LoadBindings(HWND page, std::span<const OptionBinding> bindings, const Settings& s) {
  for (const OptionBinding& b : bindings) {
    switch (b.kind) {
      case BindKind::Check: Check(page, b.control, s.*b.number != 0); break;
      case BindKind::InverseCheck: Check(page, b.control, s.*b.number == 0); break;
      case BindKind::Radio: Check(page, b.control, s.*b.number == b.value); break;
      case BindKind::Bit: Check(page, b.control, (s.*b.number & b.value) != 0); break;
      case BindKind::ComboIndex:
        SendDlgItemMessageW(page, b.control, CB_SETCURSEL, std::clamp(s.*b.number, 0, b.bound), 0);
        break;
      case BindKind::Text:
      case BindKind::Number:
        LimitText(GetDlgItem(page, b.control));
        SetDlgItemTextW(page, b.control, (s.*b.text).c_str());
        break;
    }
  }
}

void StoreBindings(HWND page, std::span<const OptionBinding> bindings, Settings& s) {
  for (const OptionBinding& b : bindings) {
    switch (b.kind) {
      case BindKind::Check: s.*b.number = Checked(page, b.control) ? 1 : 0; break;
      case BindKind::InverseCheck: s.*b.number = Checked(page, b.control) ? 0 : 1; break;
      case BindKind::Radio:
        if (Checked(page, b.control)) s.*b.number = b.value;
        break;
      case BindKind::Bit:
        s.*b.number = Checked(page, b.control) ? (s.*b.number | b.value) : (s.*b.number & ~b.value);
        break;
      case BindKind::ComboIndex: {
        const LRESULT index = SendDlgItemMessageW(page, b.control, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) s.*b.number = std::clamp(static_cast<int>(index), 0, b.bound);
        break;
      }
      case BindKind::Text: s.*b.text = ControlText(page, b.control); break;
      case BindKind::Number: s.*b.text = StoredNumber(ControlText(page, b.control), b.bound); break;
    }
  }
}

void FillCombos(HWND page, std::span<const ComboEntries> combos) {
  for (const ComboEntries& c : combos) {
    SendDlgItemMessageW(page, c.control, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* entry : c.entries) {
      SendDlgItemMessageW(page, c.control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
  }
}

}  // namespace korval
