// The message box sink and the switch that tests use to replace it.
#include "platform/message_sink.h"

#include <string_view>
#include <vector>

namespace korval {
namespace {

Win32MessageSink gWin32Sink;
MessageSink* gSink = nullptr;
HWND gOwner = nullptr;

// A box being shown: the dialog window the system made for it, found when it is created.
struct OpenBox {
  HWND window = nullptr;
};
thread_local std::vector<OpenBox*> tOpenBoxes;  // innermost last

LRESULT CALLBACK NoteBoxWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && !tOpenBoxes.empty() && !tOpenBoxes.back()->window) {
    const HWND created = reinterpret_cast<HWND>(wParam);
    wchar_t className[8] = {};
    if (GetClassNameW(created, className, 8) && std::wstring_view(className) == L"#32770") {
      tOpenBoxes.back()->window = created;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int Win32MessageSink::Show(const MessageRequest& request) {
  OpenBox box;
  const HHOOK hook = SetWindowsHookExW(WH_CBT, NoteBoxWindow, nullptr, GetCurrentThreadId());
  tOpenBoxes.push_back(&box);
  const int answer = MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.style);
  tOpenBoxes.pop_back();
  if (hook) UnhookWindowsHookEx(hook);
  return answer;
}

void CloseOpenMessageBoxes() {
  for (auto box = tOpenBoxes.rbegin(); box != tOpenBoxes.rend(); ++box) {
    if ((*box)->window && IsWindow((*box)->window)) EndDialog((*box)->window, IDCANCEL);
  }
}

MessageSink& CurrentMessageSink() { return gSink ? *gSink : gWin32Sink; }

MessageSink* SetMessageSink(MessageSink* sink) {
  MessageSink* previous = gSink;
  gSink = sink;
  return previous;
}

void SetMessageOwner(HWND owner) { gOwner = owner; }

HWND MessageOwner() { return gOwner; }

}  // namespace korval
