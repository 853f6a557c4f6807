// The new names follow the typing in the mode panel without Enter; Enter still confirms first and
// executes second; the switch in the 表示 menu turns it off; the CSV and macro modes are left alone.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "testing/stamped_folders.h"
#include "modes/change_mode.h"
#include "modes/regex_binding.h"
#include "platform/utf8.h"
#include "resources/resource.h"
#include "ui/live_preview.h"
#include "testing/main_window_test_fixture.h"
#include "ui/timers.h"

namespace korval {
namespace {

class LivePreviewTest : public MainWindowTest {
 public:
  using MainWindowTest::Click;
  // The settings as a new installation has them: new names while typing are on.
  void OpenWithFiles() {
    program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\n");
    files.WriteFile(L"Photo_a.txt", "a");
    files.WriteFile(L"Photo_b.txt", "b");
    Open({files.Path()});
  }
  // Typed key by key over what the box (or the edit inside a combo box) holds, as a person types.
  void Type(int id, const wchar_t* text) {
    HWND box = Parts().Item(id);
    HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
    if (!edit) edit = box;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t* c = text; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 0);
  }
  // An entry chosen from a drop-down list, with the notice the list sends.
  void Choose(int id, int entry) {
    SendMessageW(Parts().Item(id), CB_SETCURSEL, entry, 0);
    SendMessageW(Parts().dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Parts().Item(id)));
  }
  // Waits, bounded, for the names to follow and for the window to settle after the last change (it
  // ignores commands for 100 ms); the rows as they stand then.
  std::wstring RowsOnceTypingPauses(const std::wstring& wanted) {
    for (int waited = 0; waited < 3000 && (Rows() != wanted || Work().busy); waited += 20) Pump(20);
    return Rows();
  }
  // "Photo" replaced by "Pic", typed; the rows once the names followed.
  static constexpr const wchar_t* kPhotoToPic = L"Photo_a.txt>Pic_a.txt|Photo_b.txt>Pic_b.txt|";
  std::wstring TypePhotoToPic() {
    Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
    Type(IDC_REPLACE_FROM, L"Photo");
    Type(IDC_REPLACE_TO, L"Pic");
    return RowsOnceTypingPauses(kPhotoToPic);
  }
};

struct Gesture {
  const char* what;
  int modeButton;
  std::function<void(LivePreviewTest&)> act;
  const wchar_t* rows;
};

TEST_F(LivePreviewTest, EveryKindOfControlShowsTheNewNamesWithoutEnter) {
  const Gesture gestures[] = {
      {"typed text", kModeReplace,
       [](LivePreviewTest& t) {
         t.Type(IDC_REPLACE_FROM, L"Photo");
         t.Type(IDC_REPLACE_TO, L"Pic");
       },
       L"Photo_a.txt>Pic_a.txt|Photo_b.txt>Pic_b.txt|"},
      {"typed digits in a number box", kModeAddText,
       [](LivePreviewTest& t) {
         t.Type(IDC_ADD_TEXT, L"-x");
         t.Type(IDC_ADD_POSITION, L"5");
       },
       L"Photo_a.txt>Photo-x_a.txt|Photo_b.txt>Photo-x_b.txt|"},
      {"an entry of a drop-down list", kModeLetterCase, [](LivePreviewTest& t) { t.Choose(IDC_CASE_KIND, 1); },
       L"Photo_a.txt>PHOTO_A.TXT|Photo_b.txt>PHOTO_B.TXT|"},
      {"a check box", kModeExtension,
       [](LivePreviewTest& t) {
         t.Type(IDC_EXTENSION_TEXT, L"log");
         t.Click(IDC_EXTENSION_APPEND);
       },
       L"Photo_a.txt>Photo_a.txt.log|Photo_b.txt>Photo_b.txt.log|"},
      // The upper case chosen above stands.
      {"a mode button", kModeLetterCase, [](LivePreviewTest&) {}, L"Photo_a.txt>PHOTO_A.TXT|Photo_b.txt>PHOTO_B.TXT|"},
  };
  OpenWithFiles();
  for (const Gesture& g : gestures) {
    SCOPED_TRACE(g.what);
    Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);  // another mode first, so the mode button is a change
    Settle();
    Click(IDC_MODE_BUTTON_FIRST + g.modeButton - 1);
    g.act(*this);
    EXPECT_EQ(g.rows, RowsOnceTypingPauses(g.rows));
    EXPECT_FALSE(Work().run.previewed) << "a name shown while typing is not yet a preview";
  }
}

TEST_F(LivePreviewTest, EnterStillConfirmsFirstAndExecutesSecond) {
  OpenWithFiles();
  ASSERT_EQ(kPhotoToPic, TypePhotoToPic());
  EXPECT_TRUE(IsWindowVisible(Parts().Item(IDC_PREVIEW_MARK)));
  FocusList();
  Key(VK_RETURN);
  EXPECT_TRUE(Work().run.previewed);
  EXPECT_TRUE(files.Exists(L"Photo_a.txt")) << "the first Enter only confirms";
  Key(VK_RETURN);
  EXPECT_TRUE(files.Exists(L"Pic_a.txt"));
  EXPECT_TRUE(files.Exists(L"Pic_b.txt"));
}

// The folder was listed when it was read; a file another program makes there afterwards is seen by
// the next names shown while typing, and one it removes frees its name again.
TEST_F(LivePreviewTest, ANameTakenFromOutsideAfterTheReadShows) {
  OpenWithFiles();
  const std::wstring shown = kPhotoToPic;
  ASSERT_EQ(shown, TypePhotoToPic());
  ASSERT_EQ(ItemStatus::Ready, Work().list.Row(1).status);
  files.WriteFile(L"Pic_b.txt", "made by another program");
  Type(IDC_REPLACE_TO, L"Pic");
  ASSERT_EQ(shown, RowsOnceTypingPauses(shown));
  EXPECT_EQ(ItemStatus::TargetExists, Work().list.Row(1).status);
  EXPECT_EQ(ItemStatus::Ready, Work().list.Row(0).status);
  ASSERT_TRUE(DeleteFileW((files / L"Pic_b.txt").c_str()));
  Type(IDC_REPLACE_TO, L"Pic");
  ASSERT_EQ(shown, RowsOnceTypingPauses(shown));
  EXPECT_EQ(ItemStatus::Ready, Work().list.Row(1).status);
}

// A date pattern typed into the box gives the new names at once, and is there again, with the same
// names, after the window is closed and started anew.
TEST_F(LivePreviewTest, ATypedDatePatternIsBackAfterARestart) {
  OpenWithFiles();
  Click(IDC_MODE_BUTTON_FIRST + kModeDateTime - 1);
  Type(IDC_DATE_FROM, L"YYYY-MM-DD ");
  for (int waited = 0; waited < 3000 && (Rows().find(L">2") == std::wstring::npos || Work().busy); waited += 20) Pump(20);
  const std::wstring typed = Rows();
  ASSERT_NE(std::wstring::npos, typed.find(L">2")) << "no dated names followed the typing: " << Utf8(typed);
  Close();
  Open({files.Path()});
  EXPECT_EQ(L"YYYY-MM-DD ", Text(IDC_DATE_FROM));
  Type(IDC_DATE_FROM, L"YYYY-MM-DD ");
  EXPECT_EQ(typed, RowsOnceTypingPauses(typed));
}

TEST_F(LivePreviewTest, TheMenuSwitchTurnsItOffAndIsKept) {
  OpenWithFiles();
  ASSERT_EQ(1, Work().settings.livepreview);
  SendMessageW(window, WM_COMMAND, IDM_LIVE_PREVIEW, 0);
  EXPECT_EQ(0, Work().settings.livepreview);
  EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), GetMenuState(GetMenu(window), IDM_LIVE_PREVIEW, MF_BYCOMMAND) & MF_CHECKED);
  Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
  Type(IDC_REPLACE_FROM, L"Photo");
  Settle();
  EXPECT_FALSE(KillTimer(window, kTimerLivePreview)) << "no new names are on their way";
  EXPECT_EQ(L"Photo_a.txt>|Photo_b.txt>|", Rows()) << "without the switch the names wait for Enter";
  Close();
  EXPECT_NE(std::string::npos, program.ReadFile(L"korvalith.ini").find("\r\nlivepreview=0\r\n"));
}

// A typed pattern that cannot finish on a name: the names stop following at the first such name and
// the status bar says why, instead of the window stalling name after name.
TEST_F(LivePreviewTest, APatternCutOffSaysSoInTheStatusBar) {
  program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\n");
  for (int i = 0; i < 50; ++i) files.WriteFile(std::wstring(40, L'a') + std::to_wstring(i) + L".txt", "a");
  Open({files.Path()});
  Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
  Click(IDC_REGEX);
  Type(IDC_REPLACE_TO, L"x");
  Type(IDC_REPLACE_FROM, (L"(a+)+b(?#" + std::wstring(100, L'c') + L")").c_str());
  std::wstring hint;
  for (int waited = 0; waited < 5000 && hint.find(kRegexCutOffHint) == std::wstring::npos; waited += 20) {
    Pump(20);
    wchar_t text[512] = L"";
    SendMessageW(Parts().status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    hint = text;
  }
  EXPECT_NE(std::wstring::npos, hint.find(kRegexCutOffHint)) << Utf8(hint);
  EXPECT_EQ(std::wstring::npos, Rows().find(L">x")) << "no name was changed";
}

TEST_F(LivePreviewTest, TheCsvModeIsLeftAloneAndSaysSo) {
  OpenWithFiles();
  Click(IDC_MODE_BUTTON_FIRST + kModeCsvNames - 1);
  Settle();
  EXPECT_FALSE(KillTimer(window, kTimerLivePreview)) << "no new names are on their way";
  EXPECT_EQ(L"Photo_a.txt>|Photo_b.txt>|", Rows());
  wchar_t hint[512] = L"";
  SendMessageW(Parts().status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(hint));
  EXPECT_NE(std::wstring::npos, std::wstring(hint).find(kNoLivePreviewHint));
  EXPECT_FALSE(ModeFollowsTyping(kModeMacro));
}

// What another program does to the listed folder while the new names show, and the statuses of the
// two rows ("Photo_a.txt" and "Photo_b.txt", to become "Pic_a.txt" and "Pic_b.txt") it must lead to.
struct DiskChange {
  const char* what;
  std::function<void(const TempFolder&)> change;
  ItemStatus a, b;
};

TEST_F(LivePreviewTest, TheStatusesFollowWhatOtherProgramsDoToTheFolder) {
  const DiskChange changes[] = {
      {"a file takes a new name", [](const TempFolder& f) { f.WriteFile(L"Pic_a.txt", "x"); }, ItemStatus::TargetExists,
       ItemStatus::Ready},
      {"a source deleted", [](const TempFolder& f) { DeleteFileW((f / L"Photo_b.txt").c_str()); }, ItemStatus::Ready,
       ItemStatus::SourceMissing},
      {"a source renamed", [](const TempFolder& f) { MoveFileW((f / L"Photo_a.txt").c_str(), (f / L"x.txt").c_str()); },
       ItemStatus::SourceMissing, ItemStatus::Ready},
  };
  for (const DiskChange& c : changes) {
    SCOPED_TRACE(c.what);
    for (const std::wstring& name : SortedNames(files.Path())) DeleteFileW((files / name).c_str());
    OpenWithFiles();
    ASSERT_EQ(kPhotoToPic, TypePhotoToPic());
    ASSERT_EQ(ItemStatus::Ready, Work().list.Row(0).status);
    c.change(files);
    // Without a keystroke: within a second on a quiet machine (the bound leaves room for a busy one).
    EXPECT_TRUE(WaitFor([&] { return Work().list.Row(0).status == c.a && Work().list.Row(1).status == c.b; },
                        "the statuses to follow the disk", 3000))
        << static_cast<int>(Work().list.Row(0).status) << " " << static_cast<int>(Work().list.Row(1).status);
    EXPECT_FALSE(Work().run.previewed) << "the names still wait for Enter";
    Close();
  }
}

// Random names are drawn once per preview: an outside change after the preview's Enter checks the
// statuses of the names shown, and the next Enter renames to exactly those.
TEST_F(LivePreviewTest, RandomNamesStayAsDrawnWhenTheDiskChanges) {
  OpenWithFiles();
  Click(IDC_MODE_BUTTON_FIRST + kModeRandomName - 1);
  ASSERT_TRUE(WaitFor([&] { return !Work().list.Row(1).newName.empty() && !Work().busy; }, "random names to show", 3000));
  FocusList();
  Key(VK_RETURN);
  ASSERT_TRUE(Work().run.previewed);
  const std::wstring drawn[2] = {Work().list.Row(0).newName, Work().list.Row(1).newName};
  ASSERT_TRUE(DeleteFileW((files / L"Photo_b.txt").c_str()));
  EXPECT_TRUE(WaitFor([&] { return Work().list.Row(1).status == ItemStatus::SourceMissing; },
                      "the status to follow the disk", 3000));
  EXPECT_EQ(drawn[0], Work().list.Row(0).newName);
  EXPECT_EQ(drawn[1], Work().list.Row(1).newName);
  EXPECT_TRUE(Work().run.previewed);
  Key(VK_RETURN);
  EXPECT_TRUE(files.Exists(drawn[0])) << "renamed to the name that was shown";
}

// A check of timer 1510 asks nothing while no new name is shown; while names are shown it asks the
// local folders for its few milliseconds, however slowly they answer, and never a network folder.
TEST(FollowOutsideChanges, AsksNothingWithoutNewNamesAndNoLongerThanItsTime) {
  StampedFolders fs;
  RenameList list;
  KeptListings kept(fs);
  std::vector<WIN32_FIND_DATAW> entries;
  for (int i = 0; i < 20; ++i) {
    const std::wstring folder = L"C:\\f" + std::to_wstring(i) + L"\\";
    fs.Add(folder, StampedFolders::SecondsFromNow(-3600), {L"a.txt"});
    ASSERT_TRUE(kept.List(folder, entries));
    list.Append({L"a.txt", L".txt", folder, L"", L"", L"", ItemStatus::None, false});
  }
  fs.network = {L"C:\\f0\\"};
  fs.wholeStampTakes = kDiskCheckBudget;
  for (int check = 0; check < 5; ++check) EXPECT_FALSE(OutsideChangeToShow(kept, list));
  EXPECT_EQ(0, fs.wholeStamps) << "no folder is asked while no new name is shown";
  list.Row(3).newName = L"b.txt";
  for (int check = 0; check < 30; ++check) {
    const int before = fs.wholeStamps;
    EXPECT_FALSE(OutsideChangeToShow(kept, list));
    EXPECT_LE(fs.wholeStamps - before, 2) << "one folder past the check's time at most";
  }
  EXPECT_GE(fs.wholeStamps, 19) << "every local folder was compared over the checks";
  EXPECT_EQ(fs.asked.end(), std::find(fs.asked.begin(), fs.asked.end(), L"C:\\f0\\"));
}

}  // namespace
}  // namespace korval
