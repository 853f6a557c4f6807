// The about box: the legend is drawn line by line, each status icon from the strip bitmap beside
// its text, so that the icons stand exactly at their lines whatever the font.
#include "ui/about_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "config/display_name.h"
#include "engine/item_status.h"
#include "platform/dpi.h"
#include "platform/format_text.h"
#include "resources/resource.h"
#include "resources/version.h"

namespace korval {
namespace {

void DrawLegend(const DRAWITEMSTRUCT* item) {
  HDC dc = item->hDC;
  FillRect(dc, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const int dpi = WindowDpi(item->hwndItem);
  const int iconSize = IconSizeForDpi(dpi);
  HIMAGELIST icons = LoadImageListForDpi(GetModuleHandleW(nullptr), IDB_STATUS_STRIP, dpi, RGB(255, 255, 255));
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item->hwndItem, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  // Each line is followed by an empty one, as in the legend's text.
  const int step = std::max<int>(iconSize + ScaleToDpi(2, dpi), metrics.tmHeight * 2 - metrics.tmHeight / 3);
  int y = item->rcItem.top;
  int index = 0;
  for (const StatusLegendEntry& entry : kStatusLegend) {
    if (icons) ImageList_Draw(icons, index, dc, item->rcItem.left, y, ILD_NORMAL);
    const std::wstring line = std::wstring(L"‥‥ ") + entry.text;
    TextOutW(dc, item->rcItem.left + iconSize + ScaleToDpi(6, dpi), y + (iconSize - metrics.tmHeight) / 2, line.c_str(),
             static_cast<int>(line.size()));
    y += step;
    ++index;
  }
  SelectObject(dc, oldFont);
  if (icons) ImageList_Destroy(icons);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* data = reinterpret_cast<const AboutData*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const std::wstring version =
          FormatText(L"%s  Version %s", DisplayName(data ? data->usejpname : 1), KORVAL_VERSION_WIDE);
      SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, version.c_str());
      return TRUE;
    }
    case WM_DRAWITEM:
      if (wParam != IDC_ABOUT_LEGEND) return FALSE;
      DrawLegend(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

void ShowAboutDialog(HWND owner, const AboutData* data) {
  DialogBoxParamW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), MAKEINTRESOURCEW(IDD_ABOUT),
                  owner, AboutProc, reinterpret_cast<LPARAM>(data));
}

}  // namespace korval
