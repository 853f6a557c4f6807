// The options sheet driven as a person drives it: every control of each page changed, OK pressed,
// and then the setting as the ini file or the registry keeps it, and what the window shows.
#include "ui/options_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>

#include "testing/test_stores.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "testing/main_window_test_fixture.h"
#include "ui/recording.h"

namespace korval {
namespace {

constexpr const wchar_t* kTestRegistryKey = L"Software\\Pinecot Tools\\KorvalithOptionsTest";

// The sheet of this thread only: other test programs open theirs on the same desktop.
HWND FindSheet() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM out) -> BOOL {
        wchar_t name[16] = L"";
        GetClassNameW(hwnd, name, 16);
        if (lstrcmpW(name, L"#32770") != 0 || DialogTitle(hwnd) != L"オプション") return TRUE;
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND ShowPage(HWND sheet, int index) {
  PropSheet_SetCurSel(sheet, nullptr, index);
  return PropSheet_GetCurrentPageHwnd(sheet);
}

void ClickOn(HWND page, int control) { SendMessageW(GetDlgItem(page, control), BM_CLICK, 0, 0); }

void Select(HWND page, int control, int index) {
  HWND list = GetDlgItem(page, control);
  SendMessageW(list, CB_SETCURSEL, index, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(control, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void Type(HWND page, int control, const wchar_t* text) { SetDlgItemTextW(page, control, text); }

enum class Act { Click, Select, Type, Colour };

struct Change {
  int control;
  Act act;
  int index = 0;                 // Select: the entry; Colour: the colour chosen
  const wchar_t* text = nullptr;  // Type
};

// A stored key: a number, or (text not null) a text.
struct Stored {
  const wchar_t* key;
  int number;
  const wchar_t* text = nullptr;
};

struct PageCase {
  const char* name;
  int page;
  std::vector<Change> changes;
  std::vector<Stored> stored;
};

// The colour dialog of the system, answered with a colour typed into its red, green and blue boxes
// once it has them.
bool AnswerColourDialog(HWND dialog, COLORREF colour) {
  constexpr int kRedBox = 706;  // red, green and blue follow one another
  if (!HasControl(dialog, kRedBox + 2) || !HasControl(dialog, IDOK)) return false;
  const int values[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  for (int i = 0; i < 3; ++i) {
    SetDlgItemInt(dialog, kRedBox + i, values[i], FALSE);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kRedBox + i, EN_UPDATE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, kRedBox + i)));
  }
  PostMessageW(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return true;
}

// The colour the colour buttons get, instead of the system's dialog.
COLORREF gColourToChoose = 0;

void Apply(HWND page, const Change& c) {
  switch (c.act) {
    case Act::Click: ClickOn(page, c.control); break;
    case Act::Select: Select(page, c.control, c.index); break;
    case Act::Type: Type(page, c.control, c.text); break;
    case Act::Colour:
      gColourToChoose = static_cast<COLORREF>(c.index);
      ClickOn(page, c.control);
      break;
  }
}

const PageCase kPages[] = {
    {"ChangeAndWarnings", 0,
     {{IDC_OPT_SHOW_ERRORS, Act::Click}, {IDC_OPT_ENTER_DONT, Act::Click}, {IDC_OPT_SINGLE_INSTANCE, Act::Click},
      {IDC_OPT_FORCE1, Act::Click}, {IDC_OPT_FORCE2, Act::Click}, {IDC_OPT_FORCE3, Act::Click},
      {IDC_OPT_FORCE4, Act::Click}, {IDC_OPT_COLLISION_FORMAT, Act::Select, 4}, {IDC_OPT_COLLISION_PAD, Act::Select, 2},
      {IDC_OPT_COLLISION_START, Act::Select, 1}, {IDC_OPT_SERIAL_WARN, Act::Click}, {IDC_OPT_CONFIRM_EACH, Act::Click}},
     // chgconfirm 2, force2, force1, enterdont, no error display, a serial in format 4 on collisions
     {{L"option1", 0xC01C2}, {L"adddiffpad", 2}, {L"addrenbegin", 1}, {L"addrenmsg", 0}, {L"multiple", 0}}},
    {"List", 1,
     {{IDC_OPT_DEPTH, Act::Select, 11}, {IDC_OPT_TREE_ONE_LEVEL, Act::Click}, {IDC_OPT_FOLDER_ALL, Act::Click},
      {IDC_OPT_FOLLOW_LINKS, Act::Click}, {IDC_OPT_WRITE_LOG, Act::Click}, {IDC_OPT_MAX_FILES, Act::Select, 6},
      {IDC_OPT_AFTER_CONTINUE, Act::Click}, {IDC_OPT_SORT_LOGICAL, Act::Click},
      {IDC_OPT_FONT, Act::Type, 0, L"MS Gothic"}, {IDC_OPT_COLOUR_BACK, Act::Colour, 0x102030},
      {IDC_OPT_COLOUR_TEXT1, Act::Colour, 0x405060}, {IDC_OPT_COLOUR_TEXT2, Act::Colour, 0x0000FF}},
     // del 3, 50000 rows, shortcuts followed, no log, depth "全", no one-level tree reads
     {{L"option2", 0xB1063}, {L"folderread", 2}, {L"sortnumlogical", 0}, {L"listfont", 0, L"MS Gothic"},
      {L"listcolor3", 0x102030}, {L"listcolor1", 0x405060}, {L"listcolor2", 0x0000FF}}},
    {"FixedSettings", 2,
     {{IDC_OPT_FIX_WINDOW, Act::Click}, {IDC_OPT_FIX_MODE, Act::Click}, {IDC_OPT_FIX_MODE_LIST, Act::Select, 9},
      {IDC_OPT_FIX_SERIAL, Act::Click}, {IDC_OPT_FIX_SERIAL_TEXT, Act::Type, 0, L"001"},
      {IDC_OPT_FIX_DATE, Act::Click}, {IDC_OPT_FIX_DATE_TEXT, Act::Type, 0, L"-"}, {IDC_OPT_FIX_ADD, Act::Click},
      {IDC_OPT_FIX_ADD_TEXT, Act::Type, 0, L"新_"}},
     // the window switch is only saved by its own button; the fixed mode "置換" is mode index 9
     {{L"option3", kFixMode | kFixSerialStart | kFixDateSeparator | kFixAddText}, {L"mode", 9},
      {L"frenbanstr", 0, L"001"}, {L"fsepstr", 0, L"-"}, {L"faddstr", 0, L"新_"}}},
    {"FiltersAndColumns", 3,
     {{IDC_OPT_SIZE_COLUMN, Act::Click}, {IDC_OPT_UNIT_MB, Act::Click}, {IDC_OPT_DATE_KIND, Act::Select, 0},
      {IDC_OPT_EXT_ONLY, Act::Click}, {IDC_OPT_EXT_LIST, Act::Type, 0, L"jpg png"}, {IDC_OPT_SIZE_EXCEPT, Act::Click},
      {IDC_OPT_SIZE_FROM, Act::Type, 0, L"10"}, {IDC_OPT_SIZE_TO, Act::Type, 0, L"99999999999"},
      {IDC_OPT_READ_READONLY, Act::Click}, {IDC_OPT_READ_HIDDEN, Act::Click}, {IDC_OPT_READ_SYSTEM, Act::Click}},
     // date column only, sizes in MB, the size filter excludes, no attribute switches
     {{L"option4", 0x121000}, {L"columndate", 0}, {L"filterextall", 0, L"jpg png"}, {L"filterfsize1", 0, L"10"},
      {L"filterfsize2", 0, L"999999999"}}},
    {"TextEditors", 4,
     {{IDC_OPT_EDITOR_BUILTIN_FIRST, Act::Click}, {IDC_OPT_EDITOR_EXTENSIONS, Act::Click},
      {IDC_OPT_EDITOR_CHOSEN, Act::Click}, {IDC_OPT_EDITOR_PATH, Act::Type, 0, L"C:\\エディタ\\edit.exe"},
      {IDC_OPT_AUTO_OPTIONS, Act::Type, 0, L"/folder /subfolder2"}},
     {{L"txtedtbox", 0}, {L"textedtext", 0}, {L"txteditor", 2}, {L"editorpath", 0, L"C:\\エディタ\\edit.exe"},
      {L"autoaddopt", 0, L"/folder /subfolder2"}}},
};

class OptionsTest : public MainWindowTest {
 protected:
  // The settings in the registry (under the tests' own key) instead of the ini file.
  void UseRegistry() {
    registryKey = kTestRegistryKey;
    DeleteFileW((program / L"use.ini").c_str());
    DeleteRegistryKey(HKEY_CURRENT_USER, kTestRegistryKey);
    const SettingsStore store = Store();
    store.WriteInt(L"multiple", 1);
    store.WriteInt(L"_count", 5);
    store.WriteInt(L"_version", kProgramVersion);
  }
  ~OptionsTest() override {
    Close();
    DeleteRegistryKey(HKEY_CURRENT_USER, kTestRegistryKey);
  }
  SettingsStore Store() const { return SettingsStore::Choose(program.Path(), registryKey.c_str()); }

  void OpenWindow() {
    Open();
    // A mutex of the tests' own: other tests meet a program's instance mutex.
    Work().instanceMutex = InstanceMutex(L"KorvalithOptionsTestInstance");
    Work().chooseColour = [](HWND, COLORREF& colour) {
      colour = gColourToChoose;
      return true;
    };
  }

  // Opens the sheet through the menu command; act runs on it once it shows. A sheet not expected
  // to open fails the test when it does.
  Dispatch RunSheet(std::function<void(HWND)> act, bool shows = true) {
    DialogAnswers answers;
    if (shows) {
      answers.Expect(L"the options sheet", [&act](HWND sheet) {
        if (DialogTitle(sheet) != L"オプション") return false;
        act(sheet);
        return true;
      });
    }
    const Dispatch result = DispatchCommand(Work(), Parts(), IDM_OPTIONS);
    Pump(20);
    return result;
  }
};

class OptionsPageTest : public OptionsTest, public testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(OptionsPageTest, EveryControlIsStoredAndShown) {
  const PageCase& c = kPages[std::get<0>(GetParam())];
  if (std::get<1>(GetParam())) UseRegistry();
  OpenWindow();
  ASSERT_EQ(Dispatch::Done, RunSheet([&](HWND sheet) {
              HWND page = ShowPage(sheet, c.page);
              for (const Change& change : c.changes) Apply(page, change);
              PropSheet_PressButton(sheet, PSBTN_OK);
            }));
  EXPECT_EQ(nullptr, FindSheet());
  EXPECT_EQ(c.page, Work().settings.propno);

  // What a person sees at once.
  const Settings& s = Work().settings;
  HWND header = ListView_GetHeader(Parts().list);
  const int columns = Header_GetItemCount(header);
  EXPECT_EQ(4 + s.listcols1 + s.listcols2, columns);
  EXPECT_EQ(static_cast<COLORREF>(s.listcolor3), ListView_GetBkColor(Parts().list));
  EXPECT_EQ(static_cast<COLORREF>(s.listcolor1), ListView_GetTextColor(Parts().list));
  if (c.page == 0) {
    EXPECT_TRUE(Work().instanceMutex.Owns()) << "a second start is handed over from now on";
  }
  if (c.page == 1) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Parts().list, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(L"MS Gothic", font.lfFaceName);
  }
  if (c.page == 2) {
    EXPECT_EQ(0, s.mode) << "the window keeps its own mode";
  }
  if (c.page == 3) {
    wchar_t title[32] = L"";
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = 32;
    Header_GetItem(header, columns - 1, &item);
    EXPECT_STREQ(L"作成日時", title);
  }

  Close();
  const SettingsStore store = Store();
  for (const Stored& stored : c.stored) {
    if (stored.text) {
      EXPECT_EQ(stored.text, store.Decode(store.ReadText(stored.key, L"?"))) << Utf8(stored.key);
    } else {
      EXPECT_EQ(stored.number, store.ReadInt(stored.key, 0xFFFFFFF, -1)) << Utf8(stored.key);
    }
  }
  EXPECT_EQ(c.page, store.ReadInt(L"propno", 4, -1));
}

INSTANTIATE_TEST_SUITE_P(Pages, OptionsPageTest, testing::Combine(testing::Range(0, 5), testing::Bool()),
                         [](const testing::TestParamInfo<std::tuple<int, bool>>& info) {
                           return std::string(kPages[std::get<0>(info.param)].name) +
                                  (std::get<1>(info.param) ? "InTheRegistry" : "InTheIniFile");
                         });

// The Enter key and the change log as a person meets them right after OK.
TEST_F(OptionsTest, TheRunsUseTheNewValuesAtOnce) {
  struct Case {
    int page, control;
    bool renamed, logged;
  };
  const Case cases[] = {
      {0, IDC_OPT_ENTER_DONT, false, false},  // the second Enter previews again
      {1, IDC_OPT_WRITE_LOG, true, false},
  };
  for (const Case& c : cases) {
    for (const std::wstring& name : SortedNames(files.Path())) DeleteFileW((files / name).c_str());
    DeleteFileW((program / L"rename1.log").c_str());
    program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\n");
    files.WriteFile(L"a_1.txt", "1");
    files.WriteFile(L"a_2.txt", "2");
    Open({files.Path()});
    Work().instanceMutex = InstanceMutex(L"KorvalithOptionsTestInstance");
    Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
    SetDlgItemTextW(Parts().dialog, IDC_REPLACE_FROM, L"a_");
    SetDlgItemTextW(Parts().dialog, IDC_REPLACE_TO, L"b_");
    FocusList();
    Key(VK_RETURN);
    ASSERT_TRUE(Work().run.enterExecutes);
    RunSheet([&](HWND sheet) {
      ClickOn(ShowPage(sheet, c.page), c.control);
      PropSheet_PressButton(sheet, PSBTN_OK);
    });
    FocusList();
    Key(VK_RETURN);
    Key(VK_RETURN);
    EXPECT_EQ(c.renamed, files.Exists(L"b_1.txt")) << c.control;
    EXPECT_EQ(!c.renamed, files.Exists(L"a_1.txt")) << c.control;
    EXPECT_EQ(c.logged, program.Exists(L"rename1.log")) << c.control;
    Close();
  }
}

// The folder reading chosen on the page holds for the next folder dropped, without a restart.
TEST_F(OptionsTest, AFolderDroppedAfterOkIsReadAsThePageSays) {
  const std::wstring top = files / L"top";
  ASSERT_TRUE(CreateDirectoryW(top.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((top + L"\\sub").c_str(), nullptr));
  OpenWindow();
  Key('D', true);  // the list holds folders
  ASSERT_EQ(1, Work().settings.file_dir);
  const std::pair<int, const wchar_t*> cases[] = {
      {IDC_OPT_FOLDER_SELF, L"top>|"}, {IDC_OPT_FOLDER_ALL, L"sub>|top>|"}, {IDC_OPT_FOLDER_BELOW, L"sub>|"}};
  for (const auto& [choice, rows] : cases) {
    RunSheet([choice](HWND sheet) {
      ClickOn(ShowPage(sheet, 1), choice);
      PropSheet_PressButton(sheet, PSBTN_OK);
    });
    SendMessageW(window, WM_COMMAND, IDM_CLEAR_LIST, 0);
    Drop({top});
    EXPECT_EQ(rows, Rows()) << choice;
    Settle();  // the window takes no command while a drop settles
  }
}

// The columns made anew after OK keep the widths and the order a person gave them.
TEST_F(OptionsTest, ChangingTheColumnsKeepsTheirWidthsAndOrder) {
  OpenWindow();
  HWND list = Parts().list;
  ListView_SetColumnWidth(list, 1, 77);
  std::vector<int> dragged{1, 0, 3, 2, 4, 5};
  ListView_SetColumnOrderArray(list, 6, dragged.data());
  RunSheet([](HWND sheet) {
    ClickOn(ShowPage(sheet, 3), IDC_OPT_SIZE_COLUMN);
    PropSheet_PressButton(sheet, PSBTN_OK);
  });
  ASSERT_EQ(0, Work().settings.listcols1);
  EXPECT_EQ(77, ListView_GetColumnWidth(list, 1));
  std::vector<int> order(5);
  ASSERT_TRUE(ListView_GetColumnOrderArray(list, 5, order.data()));
  EXPECT_EQ((std::vector<int>{1, 0, 3, 2, 4}), order);
}

TEST_F(OptionsTest, TheSerialListsFollowTheCollisionChoice) {
  OpenWindow();
  std::vector<bool> enabled;
  RunSheet([&](HWND sheet) {
    HWND page = ShowPage(sheet, 0);
    for (int choice : {IDC_OPT_COLLISION_KEEP, IDC_OPT_COLLISION_SERIAL, IDC_OPT_COLLISION_KEEP}) {
      ClickOn(page, choice);
      for (int list : {IDC_OPT_COLLISION_FORMAT, IDC_OPT_COLLISION_PAD, IDC_OPT_COLLISION_START}) {
        enabled.push_back(IsWindowEnabled(GetDlgItem(page, list)) != FALSE);
      }
    }
    PropSheet_PressButton(sheet, PSBTN_OK);
  });
  EXPECT_EQ((std::vector<bool>{false, false, false, true, true, true, false, false, false}), enabled);
  EXPECT_EQ(0, Work().settings.collisionOption) << "no serial is added";
}

TEST_F(OptionsTest, CancelKeepsEverySettingButTheButtonSavedFixedSwitches) {
  OpenWindow();
  std::vector<int> dragged{1, 0, 3, 2, 4, 5};  // the headers as the person dragged them
  ListView_SetColumnOrderArray(Parts().list, 6, dragged.data());
  const Settings before = Work().settings;
  RunSheet([&](HWND sheet) {
    HWND page = ShowPage(sheet, 2);
    ClickOn(page, IDC_OPT_FIX_WINDOW);
    ClickOn(page, IDC_OPT_FIX_COLUMNS);
    ClickOn(page, IDC_OPT_SAVE_NOW);
    ClickOn(ShowPage(sheet, 0), IDC_OPT_ENTER_DONT);
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
  });
  EXPECT_EQ(kFixWindow | kFixColumns, Work().settings.option3);
  EXPECT_EQ(before.enterdont, Work().settings.enterdont);
  const SettingsStore store = Store();
  EXPECT_EQ(kFixWindow | kFixColumns, store.ReadInt(L"option3", 0xFFFF, -1)) << "saved at once";
  EXPECT_NE(-1, store.ReadInt(L"wwidth", 32767, -1)) << "the window's size is what is fixed";
  EXPECT_EQ(0x103245, store.ReadInt(L"headcount", 0x543210, -1)) << "and the column order";
  Close();
  EXPECT_EQ(kFixWindow | kFixColumns, store.ReadInt(L"option3", 0xFFFF, -1));
  EXPECT_EQ(0, store.ReadInt(L"propno", 4, -1)) << "the page shown last is kept";
}

TEST_F(OptionsTest, TheSheetOpensOnThePageShownLast) {
  for (int saved : {3, 0, 4}) {
    program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\npropno=" +
                                            std::to_string(saved) + "\r\n");
    OpenWindow();
    int shown = -1;
    RunSheet([&](HWND sheet) {
      shown = PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet));
      PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(saved, shown);
    Close();
  }
}

TEST_F(OptionsTest, RecordingRefusesAndUndoModeAsks) {
  enum class State { Recording, UndoDeclined, UndoLeft };
  struct Case {
    State state;
    const wchar_t* caption;
    const wchar_t* text;
    bool sheetShown;
  };
  const Case cases[] = {
      {State::Recording, L"Stop this mode.", L"マクロ記録を中止しないと設定を開けません。", false},
      {State::UndoDeclined, L"Stop this mode?",
       L"変更UnDoモードを中止しないと設定を開けません。\r\n\r\n変更UnDoモードを中止しますか。", false},
      {State::UndoLeft, L"Stop this mode?",
       L"変更UnDoモードを中止しないと設定を開けません。\r\n\r\n変更UnDoモードを中止しますか。", true},
  };
  for (const Case& c : cases) {
    const std::wstring line = L"\"" + (files / L"x.txt") + L"\",\"" + (files / L"a.txt") + L"\",\"<NORMAL>\"\r\n";
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(line.data()), line.size() * sizeof(wchar_t));
    program.WriteFile(L"rename1.log", bytes);
    files.WriteFile(L"a.txt", "1");
    OpenWindow();
    if (c.state == State::Recording) {
      ASSERT_EQ(0, BeginRecording(Work().recorder, 0, RecorderContextFor(Work())));
    } else {
      SendMessageW(window, WM_COMMAND, IDM_UNDO_MODE, 0);
      ASSERT_TRUE(Work().UndoMode());
      sink.Answer(c.state == State::UndoLeft ? IDYES : IDNO);
    }
    sink.requests.clear();
    bool shown = false;
    RunSheet(
        [&](HWND sheet) {
          shown = true;
          PropSheet_PressButton(sheet, PSBTN_CANCEL);
        },
        c.sheetShown);
    ASSERT_EQ(1u, sink.requests.size());
    EXPECT_EQ(c.caption, sink.requests[0].caption);
    EXPECT_EQ(c.text, sink.requests[0].text);
    EXPECT_EQ(c.sheetShown, shown);
    if (c.state != State::Recording) {
      EXPECT_EQ(!c.sheetShown, Work().UndoMode());
    }
    Close();
  }
}

TEST_F(OptionsTest, AnAutomaticRunOpensNoSheet) {
  files.WriteFile(L"a.txt", "1");
  Open({L"/show", L"/noexit", L"/test", L"/autoattr1---", files.Path()});
  EXPECT_EQ(Dispatch::Refused, RunSheet([](HWND) {}, false));
}

// Without a chooser of the test's own, a colour button asks the system's colour dialog.
TEST_F(OptionsTest, AColourButtonAsksTheSystemsColourDialog) {
  Open();
  Work().instanceMutex = InstanceMutex(L"KorvalithOptionsTestInstance");
  DialogAnswers answers;
  answers
      .Expect(L"the options sheet",
              [](HWND sheet) {
                if (DialogTitle(sheet) != L"オプション") return false;
                ClickOn(ShowPage(sheet, 1), IDC_OPT_COLOUR_TEXT1);
                PropSheet_PressButton(sheet, PSBTN_OK);
                return true;
              })
      .Expect(L"the colour dialog", [](HWND dialog) { return AnswerColourDialog(dialog, 0x405060); });
  ASSERT_EQ(Dispatch::Done, DispatchCommand(Work(), Parts(), IDM_OPTIONS));
  EXPECT_EQ(0x405060, Work().settings.listcolor1);
}

}  // namespace
}  // namespace korval
