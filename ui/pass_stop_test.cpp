// Esc pressed while a preview or an execution runs stops it between rows, as typing stops the names
// that follow it: a preview stopped so executes nothing, an execution renames no row after the stop.
#include <windows.h>

#include "modes/change_mode.h"
#include "resources/resource.h"
#include "testing/main_window_test_fixture.h"

namespace korval {
namespace {

class PassStopTest : public MainWindowTest {
 protected:
  void OpenThreeFiles() {
    for (const wchar_t* name : {L"a_1.txt", L"a_2.txt", L"a_3.txt"}) files.WriteFile(name, "x");
    Open({files.Path()});
    Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
    SetDlgItemTextW(Parts().dialog, IDC_REPLACE_FROM, L"a_");
    SetDlgItemTextW(Parts().dialog, IDC_REPLACE_TO, L"b_");
    FocusList();
  }
  // An Esc waits in the queue, as a key pressed during a pass does, and the command runs meanwhile.
  void CommandWithEscapeWaiting(int command) {
    PostMessageW(Parts().list, WM_KEYDOWN, VK_ESCAPE, 1);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  }
};

TEST_F(PassStopTest, EscStopsAPreviewAndAnExecutionBetweenRows) {
  const struct {
    const char* what;
    bool previewFirst;  // the names were previewed before the command
    int command;
    const wchar_t* rowsAfter;  // the list right after the command, before the Esc is handled
    bool secondRenamed;
  } cases[] = {
      {"a preview", false, IDM_PREVIEW, L"a_1.txt>b_1.txt|a_2.txt>|a_3.txt>|", false},
      {"an execution that previews first", false, IDM_EXECUTE, L"a_1.txt>b_1.txt|a_2.txt>|a_3.txt>|", false},
      {"an execution", true, IDM_EXECUTE, nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    OpenThreeFiles();
    if (c.previewFirst) {
      Key(VK_RETURN);
      ASSERT_EQ(L"a_1.txt>b_1.txt|a_2.txt>b_2.txt|a_3.txt>b_3.txt|", Rows());
    }
    CommandWithEscapeWaiting(c.command);
    if (c.rowsAfter) {
      EXPECT_EQ(c.rowsAfter, Rows());
    }
    EXPECT_FALSE(Work().run.enterExecutes) << "a stopped preview is never executed by the next Enter";
    EXPECT_EQ(c.previewFirst, files.Exists(L"b_1.txt"));
    EXPECT_EQ(c.secondRenamed, files.Exists(L"b_2.txt"));
    EXPECT_TRUE(files.Exists(L"a_3.txt"));
    WaitFor(
        [] {
          MSG message;
          return !PeekMessageW(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE);
        },
        "the Esc itself to be handled");
    Close();
    for (const wchar_t* name : {L"a_1.txt", L"a_2.txt", L"a_3.txt", L"b_1.txt", L"b_2.txt", L"b_3.txt"}) {
      DeleteFileW((files / name).c_str());
    }
  }
}

}  // namespace
}  // namespace korval
