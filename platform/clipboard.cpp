// The clipboard's Unicode text.
#include "platform/clipboard.h"

#include <algorithm>

namespace korval {

bool PutOnClipboard(HWND owner, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(target));
  GlobalUnlock(memory);
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!placed) GlobalFree(memory);
  return placed;
}

bool ReadClipboard(HWND owner, std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  bool read = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      const size_t limit = GlobalSize(data) / sizeof(wchar_t);
      text.assign(chars, std::find(chars, chars + limit, L'\0'));
      GlobalUnlock(data);
      read = true;
    }
  }
  CloseClipboard();
  return read;
}

}  // namespace korval
