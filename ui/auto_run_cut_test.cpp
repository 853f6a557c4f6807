// An automatic run that does not finish in time is cut by the exit watchdog: the real window runs a
// slow macro with the watchdog's bound shortened, so the cut comes in seconds instead of minutes.
#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "tests/macro_bytes.h"
#include "testing/main_window_test_fixture.h"

namespace korval {
namespace {

class AutoRunCutTest : public MainWindowTest {
 protected:
  // Runs the message loop until the window has closed itself: the exit code it posted, or -1 when it
  // was still open after timeoutMs.
  int WaitForExitCode(DWORD timeoutMs) {
    const DWORD end = GetTickCount() + timeoutMs;
    do {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          window = nullptr;
          return static_cast<int>(message.wParam);
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
    return -1;
  }
};

// Twenty steps ten seconds apart would take over three minutes: the run is cut before its
// execution, renames nothing, says why with "/errmsg" and exits with 2.
TEST_F(AutoRunCutTest, ARunCutByTheWatchdogSaysSoAndFails) {
  program.WriteFile(L"korvalith.ini",
                    "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nmacromsec=10000\r\n");
  std::string macro = "KV150\n";
  for (int step = 0; step < 20; ++step) macro += Record("REP", "002", "a", "b");
  program.WriteFile(L"macro1.bin", macro);
  files.WriteFile(L"a.txt", "a");
  Open({L"/errmsg", L"/auto1", files.Path().substr(0, files.Path().size() - 1)});
  ASSERT_NE(nullptr, window);
  Work().autoWork.watchdogTicks = 2;
  const int code = WaitForExitCode(15000);
  ASSERT_NE(-1, code) << "the window of the cut run was still open after 15 s";
  EXPECT_EQ(2, code);
  ASSERT_EQ(1u, sink.requests.size());
  EXPECT_EQ(kRunCutCaption, sink.requests[0].caption);
  EXPECT_EQ(kRunCutText, sink.requests[0].text);
  EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, SortedNames(files.Path()));
  EXPECT_FALSE(program.Exists(L"rename1.log"));
}

// Real message boxes, each recorded by its caption.
class RecordedBoxes final : public MessageSink {
 public:
  int Show(const MessageRequest& request) override {
    captions.push_back(request.caption);
    return boxes_.Show(request);
  }
  std::vector<std::wstring> captions;

 private:
  Win32MessageSink boxes_;
};

// A run that shows its boxes waits for nobody: the box open when the watchdog cuts the run closes,
// the box that says why closes with the window, and the exit code says the run was cut.
TEST_F(AutoRunCutTest, AnOpenBoxClosesWithTheWindowWhenTheWatchdogCutsTheRun) {
  const struct {
    const wchar_t* option;
    const wchar_t* waiting;  // the box open when the watchdog cuts the run
  } cases[] = {
      {L"/errmsg", kRowsLeftAloneCaption},
      {L"/allmsg", L"Rename?"},  // every question is shown, the one before the first change too
      {L"/show", kRowsLeftAloneCaption},
  };
  for (const auto& [option, waiting] : cases) {
    SCOPED_TRACE(Utf8(option));
    files.WriteFile(L"b.txt", "b");
    RecordedBoxes boxes;
    MessageSink* previous = SetMessageSink(&boxes);
    // The new name is refused, so the run says at its end that it left a row alone, and waits.
    Open({option, L"s/b/:/", files.Path().substr(0, files.Path().size() - 1)});
    ASSERT_NE(nullptr, window);
    Work().autoWork.watchdogTicks = 4;
    const int code = WaitForExitCode(20000);
    SetMessageSink(previous);
    ASSERT_NE(-1, code) << "the window was still open after 20 s";
    EXPECT_EQ(2, code) << "cut before anything was changed";
    ASSERT_EQ(2u, boxes.captions.size());
    EXPECT_EQ(waiting, boxes.captions[0]);
    EXPECT_EQ(kRunCutCaption, boxes.captions[1]);
    EXPECT_EQ(std::vector<std::wstring>{L"b.txt"}, SortedNames(files.Path()));
  }
}

}  // namespace
}  // namespace korval
