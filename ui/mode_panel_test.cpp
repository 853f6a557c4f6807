// The mode panel driven through the window: each mode's controls set, previewed and executed, and
// the names on disk compared with those the same parameters give in an unattended run; a macro
// recorded with the window's buttons; the position sample; out-of-range and oversized input.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <numeric>

#include "macro/macro_record.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "platform/data_files.h"
#include "testing/program_runner.h"
#include "testing/main_window_test_fixture.h"
#include "testing/music_samples.h"
#include "tests/macro_bytes.h"
#include "ui/command_table.h"
#include "ui/macro_editor_launch.h"
#include "ui/panel_bindings.h"
#include "ui/target_picture.h"
#include "ui/timers.h"

namespace korval {
namespace {

const std::vector<std::wstring> kNames = {L"IMG_0001.JPG", L"IMG_0002.JPG", L"notes.txt"};

void SetText(const Frame& f, int id, const wchar_t* text) { SetDlgItemTextW(f.dialog, id, text); }
void Choose(const Frame& f, int id, int entry) { SendMessageW(f.Item(id), CB_SETCURSEL, entry, 0); }
void Check(const Frame& f, int id, int state) { SendMessageW(f.Item(id), BM_SETCHECK, state, 0); }
void SetPicker(const Frame& f, int id, WORD a, WORD b, WORD c, bool date) {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  if (date) {
    t.wYear = a, t.wMonth = b, t.wDay = c;
  } else {
    t.wHour = a, t.wMinute = b, t.wSecond = c;
  }
  SendMessageW(f.Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}

enum class Compare { Names, RandomShape, WriteTimes, Attributes };

struct PanelCase {
  const char* id;
  int mode;
  void (*set)(const Frame&);
  const wchar_t* unattended;  // the same change from the command line; null: the step played as a macro
  Compare compare = Compare::Names;
};

const PanelCase kCases[] = {
    {"PositionEdit", kModePositionEdit, [](const Frame& f) { SetText(f, IDC_POSITION_TEXT, L"IMG_X0001.JPG"); }, nullptr},
    {"Extension", kModeExtension, [](const Frame& f) { SetText(f, IDC_EXTENSION_TEXT, L"jpeg"); }, nullptr},
    {"SerialNumber", kModeSerialNumber,
     [](const Frame& f) {
       SetText(f, IDC_SERIAL_TEMPLATE, L"<01>-");
       Choose(f, IDC_SERIAL_POSITION, 0);
     },
     nullptr},
    {"LetterCase", kModeLetterCase, [](const Frame& f) { Choose(f, IDC_CASE_KIND, 3); }, nullptr},
    {"CharWidth", kModeCharWidth,
     [](const Frame& f) {
       Choose(f, IDC_WIDTH_KIND, 1);
       Check(f, IDC_WIDTH_DIGITS, BST_CHECKED);
     },
     nullptr},
    {"ShortName", kModeShortName, [](const Frame& f) { Choose(f, IDC_SHORT_NAME_KIND, 2); }, nullptr},
    {"AddText", kModeAddText,
     [](const Frame& f) {
       Choose(f, IDC_ADD_FROM, 1);
       SetText(f, IDC_ADD_POSITION, L"0");
       SetText(f, IDC_ADD_TEXT, L"_end");
     },
     nullptr},
    {"DeleteText", kModeDeleteText,
     [](const Frame& f) {
       Choose(f, IDC_DELETE_KIND, 8);
       SetText(f, IDC_DELETE_FROM, L"4");
     },
     nullptr},
    {"DateTime", kModeDateTime,
     [](const Frame& f) {
       Choose(f, IDC_DATE_WHICH, 1);
       Choose(f, IDC_DATE_FROM, 7);
       Choose(f, IDC_DATE_INSERT, 3);
       SetText(f, IDC_DATE_SEPARATOR, L"_");
     },
     nullptr},
    {"Replace", kModeReplace,
     [](const Frame& f) {
       SetText(f, IDC_REPLACE_FROM, L"IMG_(\\d+)");
       SetText(f, IDC_REPLACE_TO, L"photo-$1");
       Check(f, IDC_REGEX, BST_CHECKED);
     },
     L"\"s/IMG_(\\d+)/photo-$1/\""},
    {"RandomName", kModeRandomName,
     [](const Frame& f) {
       Choose(f, IDC_RANDOM_PATTERN, 0);
       Choose(f, IDC_RANDOM_LENGTH, 0);
     },
     nullptr, Compare::RandomShape},
    {"Timestamp", kModeTimestamp,
     [](const Frame& f) {
       Choose(f, IDC_TIME_KIND, 1);
       SetPicker(f, IDC_TIME_DATE, 2024, 1, 2, true);
       SetPicker(f, IDC_TIME_TIME, 9, 30, 0, false);
       SetText(f, IDC_TIME_SECONDS, L"60");
     },
     L"/automtime20240102093000+60", Compare::WriteTimes},
    {"Attribute", kModeAttribute,
     [](const Frame& f) {
       Check(f, IDC_ATTR_READONLY, BST_CHECKED);
       Check(f, IDC_ATTR_HIDDEN, BST_INDETERMINATE);
       Check(f, IDC_ATTR_ARCHIVE, BST_INDETERMINATE);
       Check(f, IDC_ATTR_SYSTEM, BST_INDETERMINATE);
     },
     L"/autoattr1---", Compare::Attributes},
    {"Macro", kModeMacro, [](const Frame& f) { Choose(f, IDC_MACRO_SLOT, 1); }, L"/auto2"},
};

void PrintTo(const PanelCase& c, std::ostream* out) { *out << c.id; }

// What a comparison looks at, per file in name order.
std::vector<std::wstring> Outcome(const std::wstring& folder, Compare compare) {
  std::vector<std::wstring> out;
  for (const std::wstring& name : SortedNames(folder)) {
    const std::wstring path = folder + name;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    switch (compare) {
      case Compare::Names: out.push_back(name); break;
      case Compare::RandomShape: {
        // Four digits and the old extension.
        std::wstring shape = name;
        for (wchar_t& c : shape) c = std::iswdigit(c) ? L'9' : c;
        out.push_back(shape);
        std::sort(out.begin(), out.end());
        break;
      }
      case Compare::WriteTimes:
        out.push_back(name + L"@" + std::to_wstring(data.ftLastWriteTime.dwHighDateTime) + L":" +
                      std::to_wstring(data.ftLastWriteTime.dwLowDateTime / 10000000));
        break;
      case Compare::Attributes:
        out.push_back(name + ((data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? L" read-only" : L""));
        break;
    }
  }
  return out;
}

// Whether the window's run changed what the comparison looks at.
bool Changed(const std::wstring& folder, Compare compare) {
  switch (compare) {
    case Compare::Attributes: return Outcome(folder, compare).front().find(L"read-only") != std::wstring::npos;
    case Compare::WriteTimes: {
      WIN32_FILE_ATTRIBUTE_DATA data{};
      GetFileAttributesExW((folder + L"IMG_0001.JPG").c_str(), GetFileExInfoStandard, &data);
      SYSTEMTIME utc;
      FileTimeToSystemTime(&data.ftLastWriteTime, &utc);
      return utc.wYear == 2024;
    }
    default: return Outcome(folder, Compare::Names) != kNames;
  }
}

class ModePanelTest : public MainWindowTest, public testing::WithParamInterface<PanelCase> {
 protected:
  ModePanelTest() {
    program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\nmacromsec=0\r\n");
    // The macro of slot 2, for the macro mode: a replacement.
    ModeParams params;
    params.replaceFrom = L"IMG";
    params.replaceTo = L"PIC";
    program.WriteFile(L"macro2.bin", "KV150\n" + BuildStepRecord(kModeReplace, params));
    for (const std::wstring& name : kNames) {
      files.WriteFile(name, "x");
      copies.WriteFile(name, "x");
    }
    // The regular expression library beside the program, as it is shipped.
    CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (program / L"bregonig.dll").c_str(), FALSE);
  }

  void Restore(const std::wstring& folder) {
    for (const std::wstring& name : SortedNames(folder)) SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
  }

  TempFolder copies;
};

TEST_P(ModePanelTest, ThePanelRenamesAsTheUnattendedRunDoes) {
  const PanelCase& c = GetParam();
  Open({files.Path()});
  for (int step = 0; step < 24 && Work().Mode() != c.mode; ++step) Key(VK_RIGHT, false, false, true);
  ASSERT_EQ(c.mode, Work().Mode());
  c.set(Parts());
  Settle();  // a panel change settles for 100 ms before the next command
  Click(IDC_EXECUTE);  // previews first, then executes; the macro mode plays first
  for (int wait = 0; wait < 100 && Work().Playing(); ++wait) Pump(50);
  ASSERT_FALSE(Work().Playing());
  Pump(50);
  std::wstring arguments = c.unattended ? c.unattended : L"";
  if (!c.unattended) {
    // The step the window executed, written as a macro and played unattended.
    program.WriteFile(L"step.bin", "KV150\n" + BuildStepRecord(c.mode, Work().params));
    arguments = L"/autofile=\"" + (program / L"step.bin") + L"\"";
  }
  {
    ProgramRunner runner(program, L"korvalith.exe", arguments + L" \"" + copies.Path().substr(0, copies.Path().size() - 1) + L"\"");
    ASSERT_EQ(0, runner.WaitForExit());
  }
  const std::vector<std::wstring> shown = Outcome(files.Path(), c.compare);
  EXPECT_TRUE(Changed(files.Path(), c.compare)) << "the window changed nothing";
  EXPECT_EQ(Utf8(std::accumulate(shown.begin(), shown.end(), std::wstring())),
            Utf8([&] {
              const std::vector<std::wstring> other = Outcome(copies.Path(), c.compare);
              return std::accumulate(other.begin(), other.end(), std::wstring());
            }()));
  Restore(files.Path());
  Restore(copies.Path());
}

INSTANTIATE_TEST_SUITE_P(Modes, ModePanelTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PanelCase>& info) { return std::string(info.param.id); });

TEST_F(MainWindowTest, TypingIntoTheMiddleOfThePositionSampleMarksOnlyThatPosition) {
  files.WriteFile(L"abcdef.txt", "x");
  Open({files.Path()});
  ASSERT_EQ(L"abcdef.txt", Work().positionMap.previousText);
  SetDlgItemTextW(Parts().dialog, IDC_POSITION_TEXT, L"abcXdef.txt");
  const auto& map = Work().positionMap.map;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(i, map[i]) << i;
  EXPECT_EQ(kTypedPosition, map[3]);
  for (int i = 4; i < 11; ++i) EXPECT_EQ(i - 1, map[i]) << i;
}

TEST_F(MainWindowTest, NumberBoxesAreKeptInTheirRangesAndLongTextsAreHandled) {
  files.WriteFile(L"one.txt", "x");
  Open({files.Path()});
  struct Case {
    int mode;
    int id;
    const wchar_t* typed;
    int wheel;  // notches
    const wchar_t* shown;
  } cases[] = {
      {kModeAddText, IDC_ADD_POSITION, L"250", 9, L"255"},       {kModeDeleteText, IDC_DELETE_FROM, L"3", -9, L"0"},
      {kModeDeleteText, IDC_DELETE_COUNT, L"2", -5, L"1"},       {kModeTimestamp, IDC_TIME_SECONDS, L"604790", 20, L"604800"},
      {kModeTimestamp, IDC_TIME_DAYS, L"360", 10, L"366"},
  };
  Choose(Parts(), IDC_DELETE_KIND, 10);  // the rule that uses both counts
  for (const Case& c : cases) {
    ASSERT_TRUE(StepToMode(c.mode));
    HWND box = Parts().Item(c.id);
    SetWindowTextW(box, c.typed);
    RECT r;
    GetWindowRect(box, &r);
    for (int n = 0; n < std::abs(c.wheel); ++n) {
      SendMessageW(box, WM_MOUSEWHEEL, MAKEWPARAM(0, c.wheel > 0 ? WHEEL_DELTA : -WHEEL_DELTA),
                   MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    wchar_t text[16] = L"";
    GetWindowTextW(box, text, 16);
    EXPECT_STREQ(c.shown, text) << c.id;
  }
  // Typed beyond the range, the pass clamps and the box shows the value used.
  SetDlgItemTextW(Parts().dialog, IDC_DELETE_COUNT, L"0");
  SetDlgItemTextW(Parts().dialog, IDC_TIME_SECONDS, L"9999999");
  Settle();
  FocusList();
  Key(VK_RETURN);
  EXPECT_EQ(255, Work().params.dellen2);
  wchar_t text[16] = L"";
  GetDlgItemTextW(Parts().dialog, IDC_DELETE_COUNT, text, 16);
  EXPECT_STREQ(L"255", text);

  // Texts of 259 and 2,048 characters pasted into every text box: the boxes keep what they can hold.
  for (size_t length : {size_t{259}, size_t{2048}}) {
    const std::wstring pasted(length, L'x');
    for (int id : {IDC_POSITION_TEXT, IDC_EXTENSION_TEXT, IDC_SERIAL_TEMPLATE, IDC_CASE_EXCEPTIONS, IDC_ADD_TEXT,
                   IDC_DATE_SEPARATOR, IDC_REPLACE_FROM, IDC_REPLACE_TO, IDC_FILTER, IDC_DATE_FROM}) {
      HWND box = Parts().Item(id);
      HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
      SendMessageW(edit ? edit : box, EM_SETSEL, 0, -1);
      SendMessageW(edit ? edit : box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
      EXPECT_LE(GetWindowTextLengthW(box), 259) << id;
    }
    for (int mode : {kModeExtension, kModeSerialNumber, kModeAddText, kModeReplace, kModeDateTime}) {
      ASSERT_TRUE(StepToMode(mode));
      Settle();
      FocusList();
      Key(VK_RETURN);
      Key(VK_ESCAPE);
    }
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(files.Exists(L"one.txt"));
}

TEST_F(MainWindowTest, AMacroRecordedWithTheButtonsPlaysTheSameNames) {
  TempFolder copies;
  for (const std::wstring& name : kNames) {
    files.WriteFile(name, "x");
    copies.WriteFile(name, "x");
  }
  program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\nmacromsec=0\r\n");
  Open({files.Path()});
  ASSERT_TRUE(StepToMode(kModeMacro, true));
  Choose(Parts(), IDC_MACRO_SLOT, 2);  // slot 3
  SendMessageW(Parts().dialog, WM_COMMAND, MAKEWPARAM(IDC_MACRO_SLOT, CBN_SELCHANGE), 0);
  Click(IDC_MACRO_RECORD);
  ASSERT_TRUE(Work().Recording());
  ASSERT_NE(nullptr, Parts().recordingWindow);
  std::vector<std::string> steps;
  auto execute = [&](int mode, void (*set)(const Frame&)) {
    ASSERT_TRUE(StepToMode(mode));
    set(Parts());
    Settle();
    Click(IDC_EXECUTE);
    steps.push_back(BuildStepRecord(mode, Work().params));
  };
  execute(kModeReplace, [](const Frame& f) {
    SetText(f, IDC_REPLACE_FROM, L"_");
    SetText(f, IDC_REPLACE_TO, L"-");
  });
  execute(kModeLetterCase, [](const Frame& f) { Choose(f, IDC_CASE_KIND, 0); });
  execute(kModeAddText, [](const Frame& f) {
    Choose(f, IDC_ADD_FROM, 0);
    SetText(f, IDC_ADD_POSITION, L"0");
    SetText(f, IDC_ADD_TEXT, L"new-");
  });
  ASSERT_EQ(4, Work().recorder.state);
  {
    DialogAnswers name;
    name.Expect(L"the naming dialog", [](HWND dialog) {
      if (!HasControl(dialog, IDC_MACRO_NAME_LIST)) return false;
      SetDlgItemTextW(dialog, IDC_MACRO_NAME_LIST, L"tidy");
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      return true;
    });
    Click(IDC_MACRO_RECORD);  // stops; the naming dialog asks for the name
  }
  EXPECT_FALSE(Work().Recording());
  EXPECT_EQ(kModeMacro, Work().Mode());
  EXPECT_EQ(L"tidy", Work().macroSlots[2]);
  std::string expected = "KV150\n";
  for (const std::string& step : steps) expected += step;
  EXPECT_EQ(expected, program.ReadFile(L"macro3.bin"));
  EXPECT_NE(std::string::npos, program.ReadFile(L"macro.lst").find("3:tidy"));
  Close();
  {
    ProgramRunner runner(program, L"korvalith.exe", L"/auto3 \"" + copies.Path().substr(0, copies.Path().size() - 1) + L"\"");
    ASSERT_EQ(0, runner.WaitForExit());
  }
  EXPECT_EQ(SortedNames(files.Path()), SortedNames(copies.Path()));
  EXPECT_EQ((std::vector<std::wstring>{L"new-img-0001.jpg", L"new-img-0002.jpg", L"new-notes.txt"}), SortedNames(files.Path()));
}

TEST_F(MainWindowTest, TheAssistDialogComposesTheSerialTemplate) {
  Open();
  ASSERT_TRUE(StepToMode(kModeSerialNumber));
  SetText(Parts(), IDC_SERIAL_TEMPLATE, L"IMG_0007.x");
  Settle();
  std::wstring title;
  {
    DialogAnswers answer;
    answer.Expect(L"the assist dialog", [&title](HWND dialog) {
      if (!HasControl(dialog, IDC_ASSIST_SUFFIX)) return false;
      title = DialogTitle(dialog);
      SetDlgItemTextW(dialog, IDC_ASSIST_SUFFIX, L"-a");
      SendMessageW(GetDlgItem(dialog, IDC_ASSIST_SIGN), CB_SETCURSEL, 1, 0);
      SetDlgItemTextW(dialog, IDC_ASSIST_STEP, L"2");
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      return true;
    });
    Click(IDC_SERIAL_ASSIST);
  }
  EXPECT_EQ(L"[連番 (123...)] 入力支援", title);
  wchar_t text[128] = L"";
  GetDlgItemTextW(Parts().dialog, IDC_SERIAL_TEMPLATE, text, 128);
  // The old suffix ".x" gave way to the typed one; the start came from the last digits.
  EXPECT_STREQ(L"IMG_<0007-2>-a", text);
}

// Ctrl+G's menu lists the tags; the one chosen goes in at the caret of the mode's box, and the preview
// fills it from the file.
TEST_F(MainWindowTest, TheTagMenuWritesATagAtTheCaret) {
  files.WriteFile(L"a.mp3", music_samples::Id3Tag(3, music_samples::Id3Text(3, "TIT2", 0, L"Song")));
  files.WriteFile(L"b.txt", "no tags");
  Open({files.Path()});
  ASSERT_TRUE(StepToMode(kModeReplace));
  SetText(Parts(), IDC_REPLACE_FROM, L"a");
  SetText(Parts(), IDC_REPLACE_TO, L"x_-");
  Settle();
  HWND edit = FindWindowExW(Parts().Item(IDC_REPLACE_TO), nullptr, L"Edit", nullptr);
  ASSERT_NE(nullptr, edit);
  SendMessageW(edit, EM_SETSEL, 2, 2);
  // The menu's own loop takes the keys: the first item, chosen. Should they not arrive, a timer
  // closes the menu, so the test never waits without end.
  PostMessageW(Parts().main, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(Parts().main, WM_KEYDOWN, VK_RETURN, 0);
  const UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  EXPECT_EQ(Dispatch::Done, DispatchCommand(Work(), Parts(), IDM_TAG_MENU));
  KillTimer(nullptr, guard);
  wchar_t text[64] = L"";
  GetDlgItemTextW(Parts().dialog, IDC_REPLACE_TO, text, 64);
  EXPECT_STREQ(L"x_<:Title>-", text);
  Settle();
  ASSERT_EQ(Dispatch::Done, DispatchCommand(Work(), Parts(), IDM_PREVIEW));
  Settle();
  ASSERT_EQ(2u, Work().list.Count());
  EXPECT_EQ(L"x_Song-.mp3", Work().list.Row(0).newName);
  EXPECT_EQ(ItemStatus::Ready, Work().list.Row(0).status);
  EXPECT_EQ(ItemStatus::Unchanged, Work().list.Row(1).status) << "b.txt holds no \"a\" to replace";
}

// A playback shows each step's panel with the step's values while it plays, then the macro panel.
TEST_F(MainWindowTest, APlaybackShowsEachStepInThePanel) {
  files.WriteFile(L"a_b.txt", "x");
  program.WriteFile(L"macro1.bin", "KV150\n" + Record("REP", "002", "_", "-") + Record("EXT", "000", "md", ""));
  Open({files.Path()});
  ASSERT_TRUE(StepToMode(kModeMacro, true));
  Settle();  // the busy flag of the mode change
  ASSERT_EQ(Dispatch::Done, DispatchCommand(Work(), Parts(), IDM_PREVIEW));
  ASSERT_TRUE(Work().Playing());
  struct Tick {
    int mode;
    int box;  // a control of the mode's panel
    const wchar_t* text;
  };
  const Tick ticks[] = {
      {kModeReplace, IDC_REPLACE_FROM, L"_"}, {kModeExtension, IDC_EXTENSION_TEXT, L"md"}, {kModeMacro, IDC_MACRO_SLOT, nullptr}};
  for (const Tick& t : ticks) {
    // The test paces the playback itself, one tick of timer 1502 at a time.
    KillTimer(window, kTimerPlayback);
    SendMessageW(window, WM_TIMER, kTimerPlayback, 0);
    EXPECT_EQ(t.mode, Work().Mode());
    EXPECT_TRUE(IsWindowVisible(Parts().Item(t.box))) << t.mode;
    EXPECT_EQ(BST_CHECKED, SendMessageW(Parts().Item(IDC_MODE_BUTTON_FIRST + (t.mode - 1) % 12), BM_GETCHECK, 0, 0)) << t.mode;
    if (t.text) {
      EXPECT_EQ(t.text, Text(t.box)) << t.mode;
    }
  }
  KillTimer(window, kTimerPlayback);
  EXPECT_FALSE(Work().Playing());
  EXPECT_EQ(L"a_b.txt>a-b.md|", Rows());
}

// "リスト更新" shows the names the macro editor saved in the slot list at once.
TEST_F(MainWindowTest, RefreshingTheMacroListShowsTheEditorsNames) {
  program.WriteFile(L"macro.lst", "3:old\n");
  Open();
  ASSERT_TRUE(StepToMode(kModeMacro, true));
  Settle();
  // As after "編集" started the editor, which then saved under other names.
  Work().macroEditorStarted = true;
  SetDlgItemTextW(Parts().dialog, IDC_MACRO_EDIT, kRefreshListButtonText);
  program.WriteFile(L"macro.lst", "3:renamed\n12:new\n");
  Click(IDC_MACRO_EDIT);
  HWND slots = Parts().Item(IDC_MACRO_SLOT);
  ASSERT_EQ(25, SendMessageW(slots, CB_GETCOUNT, 0, 0));
  const std::pair<int, const wchar_t*> shown[] = {{2, L"renamed"}, {11, L"new"}, {0, L"< 未登録 >"}};
  for (const auto& [slot, name] : shown) {
    wchar_t text[64] = L"";
    SendMessageW(slots, CB_GETLBTEXT, slot, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(name, text) << slot;
  }
  EXPECT_EQ(kEditButtonText, Text(IDC_MACRO_EDIT));
}

// "リスト全消去", and "選択をリストから消去" with every row selected, empty the position sample and the
// mode's first box when a person types into it; a list of choices keeps its choice.
TEST_F(MainWindowTest, ClearingTheListEmptiesTheModesFirstBox) {
  files.WriteFile(L"a.txt", "1");
  Open({files.Path()});
  struct Case {
    int mode, box;
    bool emptied;
  } cases[] = {{kModeExtension, IDC_EXTENSION_TEXT, true},
               {kModeSerialNumber, IDC_SERIAL_TEMPLATE, true},
               {kModeReplace, IDC_REPLACE_FROM, true},
               {kModeDeleteText, IDC_DELETE_KIND, false}};
  for (const int command : {IDM_CLEAR_LIST, IDM_DELETE_SELECTED}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(command == IDM_CLEAR_LIST ? "clear" : "delete every row");
      ASSERT_TRUE(StepToMode(c.mode));
      SetWindowTextW(Parts().Item(c.box), L"typed");
      const std::wstring before = Text(c.box);
      ASSERT_EQ(L"a.txt", Text(IDC_POSITION_TEXT));
      Settle();
      if (command == IDM_DELETE_SELECTED) SendMessageW(window, WM_COMMAND, IDM_SELECT_ALL, 0);
      SendMessageW(window, WM_COMMAND, command, 0);
      EXPECT_EQ(L"", Rows()) << c.mode;
      EXPECT_EQ(L"", Text(IDC_POSITION_TEXT)) << c.mode;
      EXPECT_EQ(c.emptied ? L"" : before, Text(c.box)) << c.mode;
      EXPECT_EQ(0u, Work().listings.Folders()) << "the folders' listings go with the rows";
      Drop({files / L"a.txt"});
    }
  }
}

TEST_F(MainWindowTest, TheTargetPictureLightsUpUnderTheMouse) {
  Open();
  HWND picture = Parts().Item(IDC_TARGET_PICTURE);
  EXPECT_FALSE(TargetPictureLit(picture));
  SendMessageW(picture, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(TargetPictureLit(picture));
  SendMessageW(picture, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(TargetPictureLit(picture));
}

}  // namespace
}  // namespace korval
