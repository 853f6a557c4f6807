// The options sheet "オプション": five pages that edit a copy of the settings; the caller takes the
// copy over when the sheet is closed with OK.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string>

#include "config/settings.h"
#include "ui/options_binding.h"

namespace korval {

inline constexpr int kOptionsPageCount = 5;

struct OptionsData {
  Settings settings;      // the copy the pages edit
  int page = 0;           // in: the page to open on (`propno`); out: the page shown last
  bool accepted = false;  // out: closed with OK
  // "上記を今すぐ保存": takes over the window and column switches (`option3` bits 1 and 2, given as
  // fixedBits) into the program's settings and saves them at once.
  std::function<void(int fixedBits)> saveNow;
  // The colour and program choices; without them the system's dialogs ask.
  std::function<bool(HWND owner, COLORREF& colour)> chooseColour;
  std::function<bool(HWND owner, std::wstring& path)> chooseProgram;
};

// Opens the sheet on io->page (brought into 0..4); true when it was closed with OK.
bool ShowOptionsDialog(HWND owner, OptionsData* io);

// One page: its template, its binding table and lists, and the few controls that need more.
struct OptionsPage {
  const wchar_t* templateName;
  std::span<const OptionBinding> bindings;
  std::span<const ComboEntries> combos;
  void (*opened)(HWND page, OptionsData& data) = nullptr;  // after the bindings are shown
  bool (*command)(HWND page, int control, int code, OptionsData& data) = nullptr;
  void (*accepted)(HWND page, OptionsData& data) = nullptr;  // after the bindings are taken over
  bool (*draw)(const DRAWITEMSTRUCT* item, const OptionsData& data) = nullptr;
};

// The pages in sheet order (options_page_*.cpp).
const OptionsPage& ChangePage();
const OptionsPage& ListPage();
const OptionsPage& FixedPage();
const OptionsPage& FilterPage();
const OptionsPage& EditorPage();

}  // namespace korval
