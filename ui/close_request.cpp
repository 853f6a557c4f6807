// The close that waits for the window's own work to stop.
#include "ui/close_request.h"

#include <vector>

#include "platform/message_sink.h"
#include "ui/timers.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

constexpr UINT kCloseCheckMs = 50;

bool OwnedBy(HWND window, HWND main) {
  for (HWND owner = GetWindow(window, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
    if (owner == main) return true;
  }
  return false;
}

bool IsDialogClass(HWND window) {
  wchar_t name[16] = L"";
  GetClassNameW(window, name, 16);
  return lstrcmpW(name, L"#32770") == 0;
}

struct BoxSearch {
  HWND main;
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  // A box waiting for an answer is shown and enabled; the boxes below it are disabled by it.
  if (IsWindowVisible(window) && IsWindowEnabled(window) && IsDialogClass(window) && OwnedBy(window, search->main)) {
    search->boxes.push_back(window);
  }
  return TRUE;
}

}  // namespace

HandlingMessage::HandlingMessage(HWND main) : main_(main) {
  if (MainWindowState* state = StateOf(main_)) ++state->frame.handlingDepth;
}

HandlingMessage::~HandlingMessage() {
  // The window may have gone while its message was handled (the outermost close destroys it).
  if (MainWindowState* state = StateOf(main_)) --state->frame.handlingDepth;
}

bool HandlingInsideAnother(const Frame& frame) { return frame.handlingDepth > 1; }

void CloseWhenFree(Frame& frame) {
  frame.closeWhenFree = true;
  SetTimer(frame.main, kTimerCloseWhenFree, kCloseCheckMs, nullptr);
  AnswerOpenBoxes(frame.main);
}

bool FreeToClose(Frame& frame) {
  if (HandlingInsideAnother(frame)) {
    AnswerOpenBoxes(frame.main);
    return false;
  }
  KillTimer(frame.main, kTimerCloseWhenFree);
  return true;
}

void AnswerOpenBoxes(HWND main) {
  BoxSearch search{main, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectBox, reinterpret_cast<LPARAM>(&search));
  for (HWND box : search.boxes) {
    // A message box answers with its own stop; another dialog with Cancel, else No, else OK.
    if (const int stop = StopAnswerOfOpenBox(box)) {
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(stop, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, stop)));
      continue;
    }
    for (int id : {IDCANCEL, IDNO, IDOK}) {
      HWND button = GetDlgItem(box, id);
      if (!button || !IsWindowEnabled(button)) continue;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
      break;
    }
  }
}

}  // namespace korval
