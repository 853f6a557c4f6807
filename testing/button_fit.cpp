// The caption check of the dialog templates' buttons.
#include "testing/button_fit.h"

#include <algorithm>

#include "testing/temp_folder.h"

namespace korval {
namespace {

struct Templates {
  std::vector<LPWSTR> names;  // ids (MAKEINTRESOURCE) or copied names
  std::vector<std::wstring> texts;
};

BOOL CALLBACK CollectTemplate(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  auto* templates = reinterpret_cast<Templates*>(param);
  if (IS_INTRESOURCE(name)) {
    templates->names.push_back(name);
  } else {
    templates->texts.emplace_back(name);
  }
  return TRUE;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The caption as drawn: "&&" shows one ampersand, a single one underlines the next letter.
std::wstring Drawn(const std::wstring& caption) {
  std::wstring drawn;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    drawn += caption[i];
  }
  return drawn;
}

struct Check {
  std::wstring dialog;
  int baseX;  // the dialog's average character width in pixels (4 dialog units)
  std::vector<std::string>* tooNarrow;
};

// The caption's width as the system's Japanese dialog font draws it: there a full-width character
// is two average characters wide, which a font standing in for it (under Wine) may draw narrower.
int CaptionWidth(HDC dc, const std::wstring& text, int measured, int baseX) {
  int width = measured;
  for (wchar_t c : text) {
    SIZE glyph{};
    GetTextExtentPoint32W(dc, &c, 1, &glyph);
    if (2 * glyph.cx > 3 * baseX) width += std::max(0, 2 * baseX - static_cast<int>(glyph.cx));
  }
  return width;
}

BOOL CALLBACK CheckButton(HWND control, LPARAM param) {
  const auto* check = reinterpret_cast<const Check*>(param);
  wchar_t name[16] = L"";
  GetClassNameW(control, name, 16);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const LONG kind = style & BS_TYPEMASK;
  if (lstrcmpiW(name, L"Button") != 0 || kind == BS_GROUPBOX || kind == BS_OWNERDRAW || (style & (BS_BITMAP | BS_ICON))) {
    return TRUE;
  }
  wchar_t caption[256] = L"";
  GetWindowTextW(control, caption, 256);
  const std::wstring text = Drawn(caption);
  if (text.empty()) return TRUE;
  RECT client;
  GetClientRect(control, &client);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const bool push = kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || (style & BS_PUSHLIKE);
  const int room = push ? 2 * kPushButtonSideRoom : GetSystemMetrics(SM_CXMENUCHECK) + kCheckGap;
  RECT needed{0, 0, client.right - room, 0};
  const bool wraps = (style & BS_MULTILINE) != 0;
  DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
  if (!wraps) needed.right = CaptionWidth(dc, text, needed.right, check->baseX);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  const bool fits = wraps ? needed.bottom <= client.bottom : needed.right + room <= client.right;
  if (!fits) {
    check->tooNarrow->push_back(Utf8(L"dialog " + check->dialog + L", button " + std::to_wstring(GetDlgCtrlID(control)) +
                                     L" \"" + text + L"\": " +
                                     std::to_wstring(wraps ? needed.bottom : needed.right + room) + L" px of " +
                                     std::to_wstring(wraps ? client.bottom : client.right)));
  }
  return TRUE;
}

}  // namespace

std::vector<std::string> ButtonsTooNarrow(HMODULE module) {
  Templates templates;
  EnumResourceNamesW(module, RT_DIALOG, CollectTemplate, reinterpret_cast<LONG_PTR>(&templates));
  for (const std::wstring& text : templates.texts) templates.names.push_back(const_cast<LPWSTR>(text.c_str()));
  // Child templates (pages, the main dialogs) need a parent; it is never shown.
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, module, nullptr);
  std::vector<std::string> tooNarrow;
  for (LPWSTR name : templates.names) {
    const std::wstring id = IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<UINT_PTR>(name)) : std::wstring(name);
    HWND dialog = CreateDialogParamW(module, name, parent, QuietDialog, 0);
    if (!dialog) {
      tooNarrow.push_back(Utf8(L"dialog " + id + L" could not be made"));
      continue;
    }
    RECT unit{0, 0, 4, 8};
    MapDialogRect(dialog, &unit);
    Check check{id, static_cast<int>(unit.right), &tooNarrow};
    EnumChildWindows(dialog, CheckButton, reinterpret_cast<LPARAM>(&check));
    DestroyWindow(dialog);
  }
  DestroyWindow(parent);
  return tooNarrow;
}

}  // namespace korval
