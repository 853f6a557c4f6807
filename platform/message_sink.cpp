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
  int stopAnswer = IDCANCEL;
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

int StopAnswerOf(const MessageRequest& request) {
  if (request.stopAnswer != 0) return request.stopAnswer;
  switch (request.style & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;
  }
}

int Win32MessageSink::Show(const MessageRequest& request) {
  OpenBox box;
  box.stopAnswer = StopAnswerOf(request);
  const HHOOK hook = SetWindowsHookExW(WH_CBT, NoteBoxWindow, nullptr, GetCurrentThreadId());
  tOpenBoxes.push_back(&box);
  const int answer = MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.style);
  tOpenBoxes.pop_back();
  if (hook) UnhookWindowsHookEx(hook);
  return answer;
}

void CloseOpenMessageBoxes() {
  for (auto box = tOpenBoxes.rbegin(); box != tOpenBoxes.rend(); ++box) {
    if ((*box)->window && IsWindow((*box)->window)) EndDialog((*box)->window, (*box)->stopAnswer);
  }
}

int StopAnswerOfOpenBox(HWND window) {
  for (const OpenBox* box : tOpenBoxes) {
    if (window && box->window == window) return box->stopAnswer;
  }
  return 0;
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
