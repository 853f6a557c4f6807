// What a close answers the boxes that wait when it comes: the window's close, the watchdog that cuts
// an unattended run, and every box asked after the cut. Each box gets its own "stop": the read's
// question whether to stop gets Yes, the warning whose No would turn itself off gets Yes (an answer
// made by a close changes no setting), other questions No or Cancel, a notice OK.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/show_message.h"
#include "modes/regex_binding.h"
#include "testing/dialog_answers.h"
#include "platform/message_sink.h"
#include "ui/close_request.h"

namespace korval {
namespace {

struct WaitingBox {
  const char* what;
  std::function<int()> ask;  // shows the box; returns its answer
  int stops;                 // what every close answers it
};

struct Closer {
  const char* what;
  std::function<void(HWND owner)> close;  // while the box waits
};

TEST(CloseAnswers, EveryBoxGetsItsOwnStop) {
  const WaitingBox boxes[] = {
      {"the read's question whether to stop",
       [] { return ShowMessageStoppedBy(IDYES, MB_YESNO, L"Abort", L"読み込みを中止します。", MessageClass::Question); },
       IDYES},
      {"the warning about names outside Shift-JIS, whose No turns it off",
       [] {
         return ShowMessageStoppedBy(IDYES, MB_YESNO | MB_ICONINFORMATION, kNonSjisWarningCaption, kNonSjisWarningText,
                                     MessageClass::Error);
       },
       IDYES},
      {"a question whether to go on",
       [] {
         return ShowMessage(MessageKind::Plain, MB_YESNO | MB_ICONEXCLAMATION, L"Rename?", L"変更を開始しますか。",
                            MessageClass::Question);
       },
       IDNO},
      {"a question with Cancel", [] { return ShowMessage(MessageKind::ConfirmChange, 10, L"a", L"b", MessageClass::Question); },
       IDCANCEL},
      {"a notice", [] { return ShowMessage(MessageKind::OutOfMemory, 0, L"", L"", MessageClass::Error); }, IDOK},
  };
  const Closer closers[] = {
      {"the window's close", [](HWND owner) { AnswerOpenBoxes(owner); }},
      {"the watchdog's cut", [](HWND) { CloseOpenMessageBoxes(); }},
  };
  MessageSink* previous = SetMessageSink(nullptr);
  SetMessagePolicy({});
  const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, owner);
  SetMessageOwner(owner);
  for (const WaitingBox& box : boxes) {
    for (const Closer& closer : closers) {
      SCOPED_TRACE(std::string(box.what) + ", " + closer.what);
      DialogAnswers answers;
      answers.Expect(L"the box", [&](HWND) {
        closer.close(owner);
        return true;
      });
      EXPECT_EQ(box.stops, box.ask());
      answers.Wait();
    }
    SCOPED_TRACE(std::string(box.what) + ", asked after the cut");
    SetMessagePolicy({true, true, false, false, true});
    EXPECT_EQ(box.stops, box.ask());
    SetMessagePolicy({});
  }
  SetMessageOwner(nullptr);
  DestroyWindow(owner);
  SetMessageSink(previous);
}

}  // namespace
}  // namespace korval
