// Where the program's messages to the user end up. The program shows them in message boxes; tests
// put a scripted sink in its place to answer the questions and to check what was asked.
#pragma once

#include <windows.h>

#include <string>

namespace korval {

struct MessageRequest {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT style = MB_OK;  // MB_ buttons, icon and placement flags, as MessageBoxW takes them
  // The button that stops what asked, pressed when the window closes or an unattended run is cut
  // while the box waits; 0 for the usual one (StopAnswerOf).
  int stopAnswer = 0;
};

// What a close answers a box: its own stop answer, else Cancel where the box has it, else No, else
// the only button (Abort where it has Abort, Retry and Ignore).
int StopAnswerOf(const MessageRequest& request);

// The message options of an automatic run from the command line: the one record of whether a run is
// unattended and which messages it lets through. The program sets it at start (SetMessagePolicy).
struct MessagePolicy {
  bool automatic = false;  // an automatic run is going on
  bool show = false;       // "/show": boxes are shown normally
  bool errorsOnly = false; // "/errmsg": error messages are shown, topmost, without owner
  bool all = false;        // "/allmsg": every message is shown, topmost, without owner
  bool closing = false;    // the run was cut and the window closes: nothing more is shown or agreed to
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Returns the pressed button (IDOK, IDYES, IDNO, IDCANCEL ...).
  virtual int Show(const MessageRequest& request) = 0;
};

class Win32MessageSink final : public MessageSink {
 public:
  int Show(const MessageRequest& request) override;
};

// Ends every message box the box sink has open on this thread, innermost first, each with its stop
// answer: an unattended run that is closed by its watchdog waits for nobody.
void CloseOpenMessageBoxes();
// The stop answer of a box the box sink has open on this thread, 0 when window is none of them.
int StopAnswerOfOpenBox(HWND window);

// The sink in use; the message box sink unless something else was set.
MessageSink& CurrentMessageSink();
// Replaces the sink (nullptr restores the message boxes); returns the previous one.
MessageSink* SetMessageSink(MessageSink* sink);

// The window the boxes belong to: set once by the main window when it is created (and cleared when
// it goes), so that no HWND travels through the engine.
void SetMessageOwner(HWND owner);
HWND MessageOwner();

}  // namespace korval
