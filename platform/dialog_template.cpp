// Reading DLGTEMPLATEEX and its items, and making one of its controls.
#include "platform/dialog_template.h"

#include <cstring>

namespace korval {
namespace {

// Reads words from the template, never beyond its end.
class Reader {
 public:
  Reader(const void* bytes, size_t size) : bytes_(static_cast<const unsigned char*>(bytes)), size_(size) {}
  bool ok() const { return ok_; }
  size_t offset() const { return at_; }
  const void* here() const { return bytes_ + at_; }

  WORD Word() {
    WORD value = 0;
    Take(&value, sizeof(value));
    return value;
  }
  DWORD Dword() {
    DWORD value = 0;
    Take(&value, sizeof(value));
    return value;
  }
  void Skip(size_t count) {
    if (count > size_ - at_) ok_ = false;
    at_ = ok_ ? at_ + count : size_;
  }
  void AlignToDword() { Skip((4 - at_ % 4) % 4); }
  // A string, or a number given as 0xFFFF and the number; a number comes back as "#number".
  std::wstring StringOrNumber(bool* isNumber = nullptr) {
    if (isNumber) *isNumber = false;
    WORD first = Word();
    if (first == 0xFFFF) {
      if (isNumber) *isNumber = true;
      return L"#" + std::to_wstring(Word());
    }
    std::wstring text;
    while (ok_ && first != 0) {
      text += static_cast<wchar_t>(first);
      first = Word();
    }
    return text;
  }

 private:
  void Take(void* out, size_t count) {
    if (!ok_ || count > size_ - at_) {
      ok_ = false;
      return;
    }
    std::memcpy(out, bytes_ + at_, count);
    at_ += count;
  }
  const unsigned char* bytes_;
  size_t size_;
  size_t at_ = 0;
  bool ok_ = true;
};

// The predefined control classes a template names by number.
std::wstring ClassOfNumber(const std::wstring& number) {
  static const wchar_t* const kClasses[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};
  const int value = _wtoi(number.c_str() + 1);
  return value >= 0x80 && value <= 0x85 ? kClasses[value - 0x80] : number;
}

}  // namespace

std::vector<DialogItem> ParseDialogItems(const void* bytes, size_t size) {
  std::vector<DialogItem> items;
  Reader r(bytes, size);
  if (r.Word() != 1 || r.Word() != 0xFFFF) return items;  // not an extended template
  r.Skip(4);  // help id
  r.Skip(4);  // extended style
  const DWORD style = r.Dword();
  const WORD count = r.Word();
  r.Skip(8);  // place and size
  r.StringOrNumber();  // menu
  r.StringOrNumber();  // class
  r.StringOrNumber();  // caption
  if (style & (DS_SETFONT | DS_SHELLFONT)) {
    r.Skip(6);  // point size, weight, italic, character set
    r.StringOrNumber();
  }
  for (WORD i = 0; i < count && r.ok(); ++i) {
    r.AlignToDword();
    DialogItem item;
    r.Skip(4);  // help id
    item.exStyle = r.Dword();
    item.style = r.Dword();
    item.units.left = static_cast<short>(r.Word());
    item.units.top = static_cast<short>(r.Word());
    item.units.right = static_cast<short>(r.Word());
    item.units.bottom = static_cast<short>(r.Word());
    item.id = static_cast<int>(r.Dword());
    bool classIsNumber = false;
    item.className = r.StringOrNumber(&classIsNumber);
    if (classIsNumber) item.className = ClassOfNumber(item.className);
    item.title = r.StringOrNumber();
    const void* data = r.here();
    const WORD extra = r.Word();
    r.Skip(extra);
    if (extra > 0) item.data = data;
    if (r.ok()) items.push_back(std::move(item));
  }
  return items;
}

std::vector<DialogItem> ReadDialogItems(HMODULE module, int id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  return bytes ? ParseDialogItems(bytes, SizeofResource(module, found)) : std::vector<DialogItem>{};
}

HWND CreateDialogItem(HWND dialog, const DialogItem& item, HFONT font) {
  RECT r = item.units;  // each of the four mapped on its own, as the dialog manager maps them
  MapDialogRect(dialog, &r);
  DWORD style = (item.style & ~WS_POPUP) | WS_CHILD;
  DWORD exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
  // A bordered control of a dialog is drawn sunken, as every dialog since the 3-D look does.
  if (style & WS_BORDER) {
    style &= ~WS_BORDER;
    exStyle |= WS_EX_CLIENTEDGE;
  }
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  HWND control = CreateWindowExW(exStyle, item.className.c_str(), item.title.c_str(), style, r.left, r.top, r.right,
                                 r.bottom, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance,
                                 const_cast<void*>(item.data));
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

}  // namespace korval
