// Answers the dialog boxes a test expects, in the order it expects them, as a person would, and
// never waits without a bound: a dialog that does not come, or does not go after its answer, fails
// the test with what was awaited and is cancelled, so that the call that opened it returns.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace korval {

class DialogAnswers {
 public:
  // Gives the answer when the dialog is ready for it: true when it answered; false when the dialog
  // is not the one awaited or has not finished its set-up yet, and it is tried again a tick later.
  using Answer = std::function<bool(HWND dialog)>;

  static constexpr DWORD kDefaultDeadline = 20000;  // ms; the first dialog of a process under load is slow

  // processId 0: the dialogs of this thread, answered from a timer that every modal loop of the
  // thread runs. Another process's dialogs are answered while Wait() runs.
  explicit DialogAnswers(DWORD processId = 0, DWORD deadline = kDefaultDeadline);
  ~DialogAnswers();
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;

  // The next dialog expected; `what` names it in a failure.
  DialogAnswers& Expect(std::wstring what, Answer answer);
  // Every dialog that opens while nothing else is expected, none at all included.
  DialogAnswers& AnswerEvery(Answer answer);

  // Runs the ticks until every expected dialog was answered and has gone; false (and a failure)
  // when the deadline passed first.
  bool Wait();
  // Fails the test for every expected dialog that has not come; the queue is emptied.
  void Verify();

 private:
  struct Expected {
    std::wstring what;
    Answer answer;
  };
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD);
  void Tick();
  std::vector<HWND> OpenDialogs() const;
  void GiveUp(const std::vector<HWND>& open, const std::wstring& why);
  void Cancel(HWND dialog) const;

  DWORD process_;
  DWORD deadline_;
  UINT_PTR timer_ = 0;
  std::deque<Expected> expected_;
  Answer every_;
  std::vector<HWND> answered_;  // answered and not gone yet
  DWORD since_;                 // the tick count when the wait for the next step began
  bool gaveUp_ = false;
};

// Ready-made answers and checks.
bool HasControl(HWND dialog, int id);
std::wstring DialogTitle(HWND dialog);
// Cancels whatever dialog it meets.
bool CancelDialog(HWND dialog);
// Presses the button when the dialog has it.
DialogAnswers::Answer PressButton(int id);
// Presses the button of a dialog with this title.
DialogAnswers::Answer PressButtonOf(std::wstring title, int id);

}  // namespace korval
