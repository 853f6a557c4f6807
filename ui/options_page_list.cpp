// Options page 2 "リスト": folder depth and reading, shortcuts, the change log, the row limit, the
// list after a run, sorting, and the list's font and colours.
#include "resources/resource.h"
#include "ui/options_dialog.h"

namespace korval {
namespace {

using S = Settings;
using B = BindKind;

// Depth entries 0..10 and "全" (unlimited) at 11.
constexpr int kLastDepthEntry = 11;

constexpr OptionBinding kBindings[] = {
    {IDC_OPT_DEPTH, B::ComboIndex, &S::subdir, nullptr, 0, kLastDepthEntry},
    {IDC_OPT_TREE_ONE_LEVEL, B::Check, &S::subdirtree},
    {IDC_OPT_FOLDER_BELOW, B::Radio, &S::folderread, nullptr, 0},
    {IDC_OPT_FOLDER_SELF, B::Radio, &S::folderread, nullptr, 1},
    {IDC_OPT_FOLDER_ALL, B::Radio, &S::folderread, nullptr, 2},
    {IDC_OPT_FOLLOW_LINKS, B::Check, &S::shortcutlink},
    {IDC_OPT_WRITE_LOG, B::Check, &S::writelog},
    {IDC_OPT_MAX_FILES, B::ComboIndex, &S::maxfilenum, nullptr, 0, 6},
    {IDC_OPT_AFTER_CLEAR, B::Radio, &S::del, nullptr, 0},
    {IDC_OPT_AFTER_SUCCEEDED, B::Radio, &S::del, nullptr, 1},
    {IDC_OPT_AFTER_KEEP, B::Radio, &S::del, nullptr, 2},
    {IDC_OPT_AFTER_CONTINUE, B::Radio, &S::del, nullptr, 3},
    {IDC_OPT_SORT_LOGICAL, B::Check, &S::sortnumlogical},
    {IDC_OPT_FONT, B::Text, nullptr, &S::listfont},
};

constexpr const wchar_t* kDepths[] = {L" 0", L" 1", L" 2", L" 3", L" 4", L" 5", L" 6",
                                      L" 7", L" 8", L" 9", L"10", L"全"};
constexpr const wchar_t* kMaxFiles[] = {L"1000", L"2000", L"5000", L"10000", L"20000", L"30000", L"50000"};
constexpr ComboEntries kCombos[] = {{IDC_OPT_DEPTH, kDepths}, {IDC_OPT_MAX_FILES, kMaxFiles}};

struct ColourChoice {
  int button, sample;
  int Settings::*colour;
};
constexpr ColourChoice kColours[] = {
    {IDC_OPT_COLOUR_BACK, IDC_OPT_SAMPLE_BACK, &S::listcolor3},
    {IDC_OPT_COLOUR_TEXT1, IDC_OPT_SAMPLE_TEXT1, &S::listcolor1},
    {IDC_OPT_COLOUR_TEXT2, IDC_OPT_SAMPLE_TEXT2, &S::listcolor2},
};

// The installed font families, vertical variants left out.
int CALLBACK AddFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM combo) {
  const HWND box = reinterpret_cast<HWND>(combo);
  if (font->lfFaceName[0] != L'@' &&
      SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(font->lfFaceName)) == CB_ERR) {
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(font->lfFaceName));
  }
  return 1;
}

void Opened(HWND page, OptionsData&) {
  HDC dc = GetDC(page);
  LOGFONTW any{};
  any.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(dc, &any, AddFontFamily, reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_OPT_FONT)), 0);
  ReleaseDC(page, dc);
}

bool Command(HWND page, int control, int code, OptionsData& data) {
  if (code != BN_CLICKED) return false;
  for (const ColourChoice& c : kColours) {
    if (c.button != control) continue;
    COLORREF colour = static_cast<COLORREF>(data.settings.*c.colour);
    if (data.chooseColour(page, colour)) {
      data.settings.*c.colour = static_cast<int>(colour & 0xFFFFFF);
      for (const ColourChoice& sample : kColours) InvalidateRect(GetDlgItem(page, sample.sample), nullptr, TRUE);
    }
    return true;
  }
  return false;
}

// The background sample is plain; the text samples show their colour on the background.
bool Draw(const DRAWITEMSTRUCT* item, const OptionsData& data) {
  for (const ColourChoice& c : kColours) {
    if (static_cast<int>(item->CtlID) != c.sample) continue;
    HBRUSH back = CreateSolidBrush(static_cast<COLORREF>(data.settings.listcolor3));
    FillRect(item->hDC, &item->rcItem, back);
    DeleteObject(back);
    FrameRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_WINDOWFRAME));
    if (c.colour != &S::listcolor3) {
      SetBkMode(item->hDC, TRANSPARENT);
      SetTextColor(item->hDC, static_cast<COLORREF>(data.settings.*c.colour));
      RECT r = item->rcItem;
      DrawTextW(item->hDC, L"Aあ", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    return true;
  }
  return false;
}

}  // namespace

const OptionsPage& ListPage() {
  static const OptionsPage page{L"IDPAGE2", kBindings, kCombos, Opened, Command, nullptr, Draw};
  return page;
}

}  // namespace korval
