// The boxes that open while the window reads or renames, each met by what other programs and the
// system send the window meanwhile: a close, the end of the session, a drop, a hand-over. The window
// survives them all; a close or the end of the session closes it once the pass has stopped, with the
// settings kept as at any close.
#include <windows.h>

#include <functional>
#include <string>

#include "config/hand_over.h"
#include "config/single_instance.h"
#include "filelist/list_reader.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "ui/main_window_test_fixture.h"

namespace korval {
namespace {

class BoxUnderWayTest : public MainWindowTest {
 public:
  using MainWindowTest::Click;
  using MainWindowTest::Drop;
  using MainWindowTest::files;
  using MainWindowTest::FocusList;
  using MainWindowTest::Key;
  using MainWindowTest::Parts;
  using MainWindowTest::Rows;
  using MainWindowTest::Settle;
  using MainWindowTest::window;
  using MainWindowTest::Work;

 protected:
  // The program's own message boxes, answered as a person answers them.
  BoxUnderWayTest() : scripted_(SetMessageSink(nullptr)) {}
  ~BoxUnderWayTest() override { SetMessageSink(scripted_); }

  MessageSink* scripted_;
};

struct OpenBox {
  const char* what;
  const wchar_t* caption;
  std::function<void(BoxUnderWayTest&)> prepare;  // before the box's pass
  std::function<void(BoxUnderWayTest&)> open;     // starts the pass; returns once it has ended
  std::function<void(BoxUnderWayTest&)> check;    // what the pass left, the box answered "no"
};

struct Arrival {
  const char* what;
  bool closes;
  std::function<void(BoxUnderWayTest&)> send;
};

TEST_F(BoxUnderWayTest, EveryBoxOfAPassSurvivesWhatArrivesWhileItIsOpen) {
  const OpenBox boxes[] = {
      {"reading beyond the row limit", L"Too Many Files!",
       [](BoxUnderWayTest& t) {
         t.Work().settings.maxfilenum = 0;
         const size_t limit = static_cast<size_t>(MaxRowsFor(0));
         for (size_t i = 0; i + 1 < limit; ++i) {
           t.Work().list.Append({L"f" + std::to_wstring(i), L"", L"C:\\", L"", L"", L"", ItemStatus::None, false});
         }
       },
       [](BoxUnderWayTest& t) { t.Drop({t.files / L"a.txt", t.files / L"b.txt"}); },
       [](BoxUnderWayTest& t) { EXPECT_EQ(static_cast<size_t>(MaxRowsFor(0)), t.Work().list.Count()); }},
      {"the question before renaming", L"Rename?",
       [](BoxUnderWayTest& t) {
         t.Drop({t.files / L"a.txt", t.files / L"b.txt"});
         t.Settle();
         t.Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
         SetDlgItemTextW(t.Parts().dialog, IDC_REPLACE_FROM, L"a");
         SetDlgItemTextW(t.Parts().dialog, IDC_REPLACE_TO, L"c");
         t.Settle();
         t.FocusList();
         t.Key(VK_RETURN);
         ASSERT_EQ(L"a.txt>c.txt|b.txt>b.txt|", t.Rows());
         t.Work().settings.chgconfirm = 1;
       },
       [](BoxUnderWayTest& t) { t.Key(VK_RETURN); },
       [](BoxUnderWayTest& t) {
         EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((t.files / L"a.txt").c_str())) << "renamed after No";
       }},
  };
  const Arrival arrivals[] = {
      {"a close", true, [](BoxUnderWayTest& t) { SendMessageW(t.window, WM_CLOSE, 0, 0); }},
      {"the end of the session", true,
       [](BoxUnderWayTest& t) {
         EXPECT_TRUE(SendMessageW(t.window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP));
         SendMessageW(t.window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
       }},
      {"a drop", false, [](BoxUnderWayTest& t) { t.Drop({t.files / L"c.txt"}); }},
      {"a hand-over", false,
       [](BoxUnderWayTest& t) {
         const ATOM atom = GlobalAddAtomW(((t.files / L"c.txt") + kHandOverMark).c_str());
         SendMessageW(t.window, HandOverMessage(), atom, atom);
         // As a sender does: what the window did not take leaves the session's atom table.
         while (GlobalFindAtomW(((t.files / L"c.txt") + kHandOverMark).c_str()) == atom) GlobalDeleteAtom(atom);
       }},
  };
  for (const OpenBox& box : boxes) {
    for (const Arrival& arrival : arrivals) {
      SCOPED_TRACE(std::string(box.what) + ", " + arrival.what);
      for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) files.WriteFile(name, "x");
      Open();
      box.prepare(*this);
      if (HasFatalFailure()) return;
      // A setting the close keeps: the file holds livepreview=0 until the window saves.
      Work().settings.livepreview = 1;
      bool arrived = false;
      {
        DialogAnswers answers;
        answers.Expect(box.caption, [&](HWND dialog) {
          if (DialogTitle(dialog) != box.caption) return false;
          if (!arrived) {
            arrived = true;
            arrival.send(*this);
          }
          // A close answers the box itself; otherwise the person answers No.
          return arrival.closes || PressButton(IDNO)(dialog);
        });
        box.open(*this);
        answers.Wait();
      }
      ASSERT_TRUE(arrived);
      if (arrival.closes) {
        ASSERT_TRUE(WaitFor([this] { return !IsWindow(window); }, "the window to close after the pass"));
        EXPECT_NE(std::string::npos, program.ReadFile(L"korvalith.ini").find("\r\nlivepreview=1\r\n"));
      } else {
        ASSERT_TRUE(IsWindow(window));
        box.check(*this);
      }
      Close();
      for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) DeleteFileW((files / name).c_str());
      program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\n");
    }
  }
}

}  // namespace
}  // namespace korval
