// The rename list's colours and font.
#include "ui/list_appearance.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/list_view.h"

namespace korval {

void SetListColours(HWND control, const Settings& settings, bool undoMode) {
  if (!control) return;
  ListView_SetBkColor(control, static_cast<COLORREF>(settings.listcolor3));
  ListView_SetTextBkColor(control, static_cast<COLORREF>(settings.listcolor3));
  SetListTextColour(control, undoMode ? settings.listcolor2 : settings.listcolor1);
}

void SetListFont(HWND control, const std::wstring& face, HFONT& owned) {
  if (!control || face.empty()) return;
  LOGFONTW font{};
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (!current || !GetObjectW(current, sizeof(font), &font)) GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  const size_t length = std::min(face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  face.copy(font.lfFaceName, length);
  font.lfFaceName[length] = L'\0';
  HFONT made = CreateFontIndirectW(&font);
  if (!made) return;
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  if (owned) DeleteObject(owned);
  owned = made;
}

}  // namespace korval
