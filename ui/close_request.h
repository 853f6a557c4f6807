// A close, or the end of the session, that arrives while the window is inside one of its own passes
// or boxes (a box's message loop and a pass that answers other programs both hand the window its
// messages): the window cannot go while the pass still uses it, so the close waits until the pass
// has stopped, and the boxes open meanwhile are answered the way that stops soonest.
#pragma once

#include <windows.h>

#include "ui/workspace.h"

namespace korval {

// Counts how deep the window procedure is in the window's own messages; made once per message.
class HandlingMessage {
 public:
  explicit HandlingMessage(HWND main);
  ~HandlingMessage();
  HandlingMessage(const HandlingMessage&) = delete;
  HandlingMessage& operator=(const HandlingMessage&) = delete;

 private:
  HWND main_;
};

// The message being handled came while another of the window's messages was under way.
bool HandlingInsideAnother(const Frame& frame);

// Remembers the close, answers the boxes open now, and checks every 50 ms (timer 1509) until the
// window is free to close; each check answers the boxes that opened since.
void CloseWhenFree(Frame& frame);

// The check of timer 1509: true when the window is free to close now.
bool FreeToClose(Frame& frame);

// Answers each box the window owns that waits for an answer now: a message box with its own stop
// answer (StopAnswerOfOpenBox), another dialog with Cancel where it has one, else No, else OK.
void AnswerOpenBoxes(HWND main);

}  // namespace korval
