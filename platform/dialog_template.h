// The controls of a dialog template, read from the program's resources, and made one at a time
// inside a window that already exists, as the system's dialog manager makes them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace korval {

// One control of an extended dialog template (DLGTEMPLATEEX), its place in dialog units.
struct DialogItem {
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT units{};  // left, top, width, height
  std::wstring className;
  std::wstring title;
  const void* data = nullptr;  // the creation data (its size first), or null
};

// The controls of template id in module, in the template's order; empty when it is missing or not
// an extended template.
std::vector<DialogItem> ReadDialogItems(HMODULE module, int id);
// The controls of an extended template in memory, size bytes long; the items stop at a damaged one.
std::vector<DialogItem> ParseDialogItems(const void* bytes, size_t size);

// Makes item as a child of dialog, placed by the dialog's base units and given font, with the
// styles the dialog manager gives a template's control. Null when the control cannot be made.
HWND CreateDialogItem(HWND dialog, const DialogItem& item, HFONT font);

}  // namespace korval
