// The options sheet: one page procedure for all five pages, driven by each page's description.
#include "ui/options_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "platform/common_dialogs.h"
#include "ui/window_placement.h"

namespace korval {
namespace {

struct PageContext {
  OptionsData* data;
  const OptionsPage* page;
  int index;
};

INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* context = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    context = reinterpret_cast<PageContext*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
    FillCombos(hwnd, context->page->combos);
    LoadBindings(hwnd, context->page->bindings, context->data->settings);
    if (context->page->opened) context->page->opened(hwnd, *context->data);
    return TRUE;
  }
  if (!context) return FALSE;
  const OptionsPage& page = *context->page;
  OptionsData& data = *context->data;
  switch (message) {
    case WM_COMMAND: return page.command && page.command(hwnd, LOWORD(wParam), HIWORD(wParam), data);
    case WM_DRAWITEM: return page.draw && page.draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), data);
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == PSN_SETACTIVE) {
        data.page = context->index;
      } else if (header->code == PSN_APPLY) {
        StoreBindings(hwnd, page.bindings, data.settings);
        if (page.accepted) page.accepted(hwnd, data);
        data.accepted = true;
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, PSNRET_NOERROR);
      } else {
        return FALSE;
      }
      return TRUE;
    }
    default: return FALSE;
  }
}

bool SystemColourDialog(HWND owner, COLORREF& colour) {
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = owner;
  choose.rgbResult = colour;
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ColourDialog(&choose)) return false;
  colour = choose.rgbResult;
  return true;
}

bool SystemProgramDialog(HWND owner, std::wstring& path) {
  wchar_t file[MAX_PATH] = L"";
  path.copy(file, std::min<size_t>(path.size(), MAX_PATH - 1));
  OPENFILENAMEW open{};
  open.lStructSize = sizeof(open);
  open.hwndOwner = owner;
  open.lpstrFilter = L"exeファイル (*.exe)\0*.exe\0";
  open.lpstrFile = file;
  open.nMaxFile = MAX_PATH;
  open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!OpenFileDialog(&open)) return false;
  path = file;
  return true;
}

// The sheet opens at its owner's corner and sizes itself to its pages; at a large display scaling
// that can reach past the screen's edge, so it is brought back onto the work area.
int CALLBACK OnSheetEvent(HWND sheet, UINT event, LPARAM) {
  if (event == PSCB_INITIALIZED) KeepOnWorkArea(sheet);
  return 0;
}

}  // namespace

bool ShowOptionsDialog(HWND owner, OptionsData* io) {
  if (!io->chooseColour) io->chooseColour = SystemColourDialog;
  if (!io->chooseProgram) io->chooseProgram = SystemProgramDialog;
  io->accepted = false;
  io->page = std::clamp(io->page, 0, kOptionsPageCount - 1);
  const std::array<const OptionsPage*, kOptionsPageCount> pages = {&ChangePage(), &ListPage(), &FixedPage(),
                                                                   &FilterPage(), &EditorPage()};
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  std::array<PageContext, kOptionsPageCount> contexts{};
  std::array<PROPSHEETPAGEW, kOptionsPageCount> sheetPages{};
  for (int i = 0; i < kOptionsPageCount; ++i) {
    contexts[i] = {io, pages[i], i};
    PROPSHEETPAGEW& p = sheetPages[i];
    p.dwSize = sizeof(p);
    p.hInstance = instance;
    p.pszTemplate = pages[i]->templateName;
    p.pfnDlgProc = PageProc;
    p.lParam = reinterpret_cast<LPARAM>(&contexts[i]);
  }
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_USECALLBACK;
  header.pfnCallback = OnSheetEvent;
  header.hwndParent = owner;
  header.hInstance = instance;
  header.pszCaption = L"オプション";
  header.nPages = kOptionsPageCount;
  header.nStartPage = static_cast<UINT>(io->page);
  header.ppsp = sheetPages.data();
  PropertySheetW(&header);
  return io->accepted;
}

}  // namespace korval
