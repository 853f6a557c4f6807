// The boxes that open while the window reads or renames, each met by what other programs and the
// system send the window meanwhile: a close, the end of the session, a drop, a hand-over. The window
// survives them all; a close or the end of the session closes it once the pass has stopped, with the
// settings kept as at any close.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "config/hand_over.h"
#include "config/single_instance.h"
#include "filelist/list_reader.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "testing/main_window_test_fixture.h"

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
  using MainWindowTest::WaitFor;
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
  bool listFull;                                  // the list is at its limit when the pass ends
};

struct Arrival {
  const char* what;
  bool closes;
  std::function<void(BoxUnderWayTest&)> send;
  std::function<void(BoxUnderWayTest&, bool listFull)> after;  // once the pass has ended
};

std::wstring StatusHint(HWND status) {
  wchar_t text[512] = L"";
  SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

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
       [](BoxUnderWayTest& t) { EXPECT_EQ(static_cast<size_t>(MaxRowsFor(0)), t.Work().list.Count()); }, true},
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
       },
       false},
  };
  const Arrival arrivals[] = {
      {"a close", true, [](BoxUnderWayTest& t) { SendMessageW(t.window, WM_CLOSE, 0, 0); }, nullptr},
      {"the end of the session", true,
       [](BoxUnderWayTest& t) {
         EXPECT_TRUE(SendMessageW(t.window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP));
         SendMessageW(t.window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
       },
       nullptr},
      // A drop while the window works is ignored, as a second drop within its settling time is.
      {"a drop", false, [](BoxUnderWayTest& t) { t.Drop({t.files / L"c.txt"}); },
       [](BoxUnderWayTest& t, bool) { EXPECT_EQ(std::wstring::npos, t.Rows().find(L"c.txt>")); }},
      // A hand-over is kept and read once the pass has ended; a full list takes nothing, and says so.
      {"a hand-over", false,
       [](BoxUnderWayTest& t) {
         const std::wstring text = (t.files / L"c.txt") + kHandOverMark;
         const ATOM atom = GlobalAddAtomW(text.c_str());
         EXPECT_EQ(kHandOverTaken, SendMessageW(t.window, HandOverMessage(), atom, atom));
         EXPECT_EQ(0, GlobalFindAtomW(text.c_str())) << "the window took the path";
         while (GlobalFindAtomW(text.c_str()) == atom) GlobalDeleteAtom(atom);
       },
       [](BoxUnderWayTest& t, bool listFull) {
         if (listFull) {
           t.WaitFor([&t] { return StatusHint(t.Parts().status).find(L"パス 1 件") != std::wstring::npos; },
                     "the status bar to tell of the path not taken");
         } else {
           t.WaitFor([&t] { return t.Rows().find(L"c.txt>") != std::wstring::npos; }, "the path kept to be read");
         }
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
        // A path kept while the list filled up meets the limit again when it is read.
        answers.AnswerEvery(PressButtonOf(L"Too Many Files!", IDNO));
        box.open(*this);
        answers.Wait();
        ASSERT_TRUE(arrived);
        if (arrival.closes) {
          ASSERT_TRUE(WaitFor([this] { return !IsWindow(window); }, "the window to close after the pass"));
          EXPECT_NE(std::string::npos, program.ReadFile(L"korvalith.ini").find("\r\nlivepreview=1\r\n"));
        } else {
          ASSERT_TRUE(IsWindow(window));
          box.check(*this);
          arrival.after(*this, box.listFull);
        }
      }
      Close();
      for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) DeleteFileW((files / name).c_str());
      program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\n");
    }
  }
}

// Where the window may not add what a second start hands over (undo mode), the sender learns that
// nothing was taken and the status bar says how much; otherwise the paths are read at once.
TEST_F(BoxUnderWayTest, AHandOverIsTakenOrTheStatusBarSaysWhatWasNot) {
  files.WriteFile(L"x.txt", "x");
  files.WriteFile(L"c.txt", "c");
  const std::wstring line = L"\"" + (files / L"x.txt") + L"\",\"" + (files / L"a.txt") + L"\",\"<NORMAL>\"\r\n";
  std::string log = "\xFF\xFE";
  log.append(reinterpret_cast<const char*>(line.data()), line.size() * sizeof(wchar_t));
  program.WriteFile(L"rename1.log", log);
  for (const bool undoMode : {false, true}) {
    SCOPED_TRACE(undoMode ? "undo mode" : "rows");
    Open();
    if (undoMode) {
      SendMessageW(window, WM_COMMAND, IDM_UNDO_MODE, 0);
      ASSERT_TRUE(Work().UndoMode());
    }
    const std::wstring text = (files / L"c.txt") + kHandOverMark;
    const ATOM atom = GlobalAddAtomW(text.c_str());
    const LRESULT answer = SendMessageW(window, HandOverMessage(), atom, atom);
    while (GlobalFindAtomW(text.c_str()) == atom) GlobalDeleteAtom(atom);
    EXPECT_EQ(undoMode ? 0 : kHandOverTaken, answer);
    EXPECT_EQ(!undoMode, Rows().find(L"c.txt>") != std::wstring::npos) << Rows();
    EXPECT_EQ(undoMode, StatusHint(Parts().status).find(L"パス 1 件") != std::wstring::npos);
    Close();
  }
}

}  // namespace
}  // namespace korval
