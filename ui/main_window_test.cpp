// The main window driven as a person drives it: keys through the accelerators, buttons, drops;
// then the list, the files on disk and the log are checked.
#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "engine/list_filter.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/main_window.h"
#include "testing/main_window_test_fixture.h"
#include "ui/undo_mode_view.h"

namespace korval {
namespace {

class MainWindowRunTest : public MainWindowTest {
 protected:
  // Two files in the list and the replacement mode asking for "a_" to become "b_".
  void OpenWithReplacement(const std::vector<std::wstring>& options = {}) {
    files.WriteFile(L"a_1.txt", "1");
    files.WriteFile(L"a_2.txt", "2");
    std::vector<std::wstring> arguments = options;
    arguments.push_back(files.Path());
    Open(arguments);
    Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
    SetDlgItemTextW(Parts().dialog, IDC_REPLACE_FROM, L"a_");
    SetDlgItemTextW(Parts().dialog, IDC_REPLACE_TO, L"b_");
    FocusList();
  }
};

TEST_F(MainWindowRunTest, EnterPreviewsFirstThenExecutesAndLogs) {
  OpenWithReplacement();
  ASSERT_EQ(kModeReplace, Work().Mode());
  ASSERT_EQ(L"a_1.txt>|a_2.txt>|", Rows());
  Key(VK_RETURN);
  EXPECT_EQ(L"a_1.txt>b_1.txt|a_2.txt>b_2.txt|", Rows());
  EXPECT_FALSE(IsWindowVisible(Parts().Item(IDC_PREVIEW_MARK)));
  EXPECT_TRUE(files.Exists(L"a_1.txt"));
  Key(VK_RETURN);
  EXPECT_TRUE(files.Exists(L"b_1.txt"));
  EXPECT_TRUE(files.Exists(L"b_2.txt"));
  EXPECT_TRUE(program.Exists(L"rename1.log"));
  EXPECT_EQ(0u, Work().list.Count());  // "全消去" after a run, the default
}

TEST_F(MainWindowRunTest, WithEnterdontEveryEnterOnlyPreviews) {
  program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\noption1=528689\r\n");
  OpenWithReplacement();
  ASSERT_EQ(1, Work().settings.enterdont);
  Key(VK_RETURN);
  Key(VK_RETURN);
  Key(VK_RETURN);
  EXPECT_EQ(L"a_1.txt>b_1.txt|a_2.txt>b_2.txt|", Rows());
  EXPECT_TRUE(files.Exists(L"a_1.txt"));
  EXPECT_FALSE(program.Exists(L"rename1.log"));
}

TEST_F(MainWindowRunTest, ShiftEnterKeepsTheRowsForTheNextChange) {
  OpenWithReplacement();
  Key(VK_RETURN);
  Key(VK_RETURN, false, true);
  EXPECT_TRUE(files.Exists(L"b_1.txt"));
  // "全消去" is swapped for "変更を継続": the rows stay, under their new names.
  EXPECT_EQ(L"b_1.txt>|b_2.txt>|", Rows());
}

TEST_F(MainWindowRunTest, ChangingAPanelValueMakesTheNextEnterPreviewAgain) {
  OpenWithReplacement();
  Key(VK_RETURN);
  ASSERT_TRUE(Work().run.enterExecutes);
  // Choosing a mode empties the new names and asks for a new preview.
  Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
  EXPECT_EQ(L"a_1.txt>|a_2.txt>|", Rows());
  EXPECT_TRUE(IsWindowVisible(Parts().Item(IDC_PREVIEW_MARK)));
  Key(VK_RETURN);
  EXPECT_TRUE(files.Exists(L"a_1.txt"));
  EXPECT_EQ(L"a_1.txt>b_1.txt|a_2.txt>b_2.txt|", Rows());
}

TEST_F(MainWindowRunTest, UndoModeIsEnteredRunAndLeftFromTheKeys) {
  OpenWithReplacement();
  Key(VK_RETURN);
  Key(VK_RETURN);
  ASSERT_TRUE(files.Exists(L"b_1.txt"));

  Key('B', true);  // Ctrl+B: the newest log
  ASSERT_TRUE(Work().UndoMode());
  EXPECT_EQ(2u, Work().list.Count());
  EXPECT_EQ(kUndoExecuteButtonText, Text(IDC_EXECUTE));
  EXPECT_EQ(kLeaveUndoButtonText, Text(IDC_UNDO));
  auto folderTitle = [&] {
    wchar_t title[64] = L"";
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = 64;
    ListView_GetColumn(Parts().list, 2, &column);
    return std::wstring(title);
  };
  EXPECT_EQ(kUndoFolderHeader, folderTitle());
  EXPECT_TRUE(IsWindowVisible(Parts().Item(IDC_UNDO_SLOT)));
  EXPECT_FALSE(IsWindowEnabled(Parts().Item(IDC_PREVIEW)));
  EXPECT_FALSE(IsWindowEnabled(Parts().Item(IDC_MODE_BUTTON_FIRST)));
  EXPECT_EQ(static_cast<COLORREF>(Work().settings.listcolor2), ListView_GetTextColor(Parts().list));
  // The modes cannot be chosen while the log is loaded.
  Key(VK_RIGHT, false, false, true);
  EXPECT_EQ(kModeReplace, Work().Mode());

  Click(IDC_EXECUTE);  // "★ UnDo ★"
  EXPECT_FALSE(Work().UndoMode());
  EXPECT_TRUE(files.Exists(L"a_1.txt"));
  EXPECT_TRUE(files.Exists(L"a_2.txt"));
  EXPECT_EQ(kExecuteButtonText, Text(IDC_EXECUTE));
  EXPECT_EQ(kUndoButtonText, Text(IDC_UNDO));
  EXPECT_EQ(kColumnHeaders[2], folderTitle());
  EXPECT_TRUE(IsWindowEnabled(Parts().Item(IDC_PREVIEW)));

  // Ctrl+B twice only enters and leaves: nothing is renamed; Ctrl+Z leaves as well.
  Key('B', true);
  ASSERT_TRUE(Work().UndoMode());
  Key('B', true);
  EXPECT_FALSE(Work().UndoMode());
  Key('B', true);
  Key('Z', true);
  EXPECT_FALSE(Work().UndoMode());
  EXPECT_TRUE(files.Exists(L"a_1.txt"));
}

TEST_F(MainWindowRunTest, TheSlotSelectorLoadsTheChosenLog) {
  OpenWithReplacement();
  Key(VK_RETURN);
  Key(VK_RETURN);
  Key('B', true);
  ASSERT_TRUE(Work().UndoMode());
  // Entry 1 is slot 2, which does not exist: the log cannot be opened and undo mode ends.
  HWND selector = Parts().Item(IDC_UNDO_SLOT);
  SendMessageW(selector, CB_SETCURSEL, 1, 0);
  SendMessageW(Parts().dialog, WM_COMMAND, MAKEWPARAM(IDC_UNDO_SLOT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(selector));
  EXPECT_FALSE(Work().UndoMode());
  ASSERT_FALSE(sink.requests.empty());
  EXPECT_EQ(L"Can't Open File!", sink.requests.back().caption);
}

// Undo mode shows the rows of a change log: reading and saving CSV files is disabled and refused.
TEST_F(MainWindowRunTest, UndoModeDisablesReadingAndSavingCsv) {
  OpenWithReplacement();
  Key(VK_RETURN);
  Key(VK_RETURN);
  Key('B', true);
  ASSERT_TRUE(Work().UndoMode());
  struct Case {
    int command;
    bool inMenu, onToolbar;
  } cases[] = {{IDM_OPEN_CSV, true, true},
               {IDM_SAVE_CSV, false, true},
               {IDM_SAVE_SELECTION, true, false},
               {IDM_SAVE_ALL, true, false},
               {IDM_SAVE_LAST_LOG, true, false}};
  DialogAnswers none(0, 5000);  // no file dialog may open
  for (const Case& c : cases) {
    if (c.inMenu) {
      EXPECT_EQ(MF_GRAYED, GetMenuState(GetMenu(window), c.command, MF_BYCOMMAND) & MF_GRAYED) << c.command;
    }
    if (c.onToolbar) {
      EXPECT_FALSE(SendMessageW(Parts().toolbar, TB_ISBUTTONENABLED, c.command, 0)) << c.command;
    }
    EXPECT_EQ(Dispatch::Refused, DispatchCommand(Work(), Parts(), c.command)) << c.command;
  }
  Key('B', true);
  ASSERT_FALSE(Work().UndoMode());
  for (const Case& c : cases) {
    if (c.inMenu) {
      EXPECT_EQ(0u, GetMenuState(GetMenu(window), c.command, MF_BYCOMMAND) & MF_GRAYED) << c.command;
    }
    if (c.onToolbar) {
      EXPECT_TRUE(SendMessageW(Parts().toolbar, TB_ISBUTTONENABLED, c.command, 0)) << c.command;
    }
  }
}

// The column order a person drags the headers into is shown at the next start; with the headers
// fixed in the options, the order of the start stays.
TEST_F(MainWindowTest, TheColumnOrderIsKeptUnlessItIsFixed) {
  struct Case {
    int stored, option3;
    std::vector<int> shown, dragged;
    int saved;
  } cases[] = {
      {0x13245, 0, {0, 1, 3, 2, 4, 5}, {1, 0, 3, 2, 4, 5}, 0x103245},
      {0x103245, kFixColumns, {1, 0, 3, 2, 4, 5}, {0, 1, 2, 3, 4, 5}, 0x103245},
  };
  for (Case& c : cases) {
    program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\nheadcount=" +
                                            std::to_string(c.stored) + "\r\noption3=" + std::to_string(c.option3) + "\r\n");
    Open();
    std::vector<int> order(6);
    ASSERT_TRUE(ListView_GetColumnOrderArray(Parts().list, 6, order.data()));
    EXPECT_EQ(c.shown, order) << c.stored;
    ListView_SetColumnOrderArray(Parts().list, 6, c.dragged.data());
    Close();
    EXPECT_NE(std::string::npos, program.ReadFile(L"korvalith.ini").find("headcount=" + std::to_string(c.saved) + "\r\n"))
        << c.stored;
  }
}

// The mode panel's buttons and boxes lie on the mode tabs: the tabs are below every control on them
// in the z-order and clip them out of their own painting, so that a repaint of the tabs (a box
// hidden, the window resized) never covers a frame.
TEST_F(MainWindowTest, TheModeTabsLieBelowTheControlsOnThem) {
  Open();
  HWND tabs = Parts().Item(IDC_MODE_TABS);
  EXPECT_TRUE(GetWindowLongW(tabs, GWL_STYLE) & WS_CLIPSIBLINGS);
  RECT onTabs;
  GetWindowRect(tabs, &onTabs);
  std::vector<int> below;
  for (HWND child = GetWindow(tabs, GW_HWNDNEXT); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r, overlap;
    GetWindowRect(child, &r);
    if (IntersectRect(&overlap, &r, &onTabs)) below.push_back(GetDlgCtrlID(child));
  }
  EXPECT_EQ(std::vector<int>{}, below);
}

TEST_F(MainWindowTest, TestModeRefusesToExecute) {
  files.WriteFile(L"a_1.txt", "1");
  Open({L"/test", L"s/a_/b_/", files.Path()});
  ASSERT_TRUE(WaitFor([this] { return Work().run.previewed; }, "the automatic run to preview"));  // and it stays
  wchar_t title[128] = L"";
  GetWindowTextW(window, title, 128);
  EXPECT_EQ(std::wstring(kTestModeTitle), title);
  ASSERT_EQ(L"a_1.txt>b_1.txt|", Rows());
  for (int press = 0; press < 2; ++press) {
    if (press == 0) {
      Click(IDC_EXECUTE);
    } else {
      FocusList();
      Key(VK_RETURN);
    }
    ASSERT_FALSE(sink.requests.empty());
    EXPECT_EQ(L"テストモードのため実行できません。", sink.requests.back().text);
    EXPECT_EQ(L"cannot rename because of test mode", sink.requests.back().caption);
    sink.requests.clear();
  }
  EXPECT_TRUE(files.Exists(L"a_1.txt"));
  EXPECT_FALSE(program.Exists(L"rename1.log"));
}

TEST_F(MainWindowRunTest, EscapeAndCtrlZEmptyTheNewNames) {
  OpenWithReplacement();
  for (UINT key : {UINT{VK_ESCAPE}, UINT{'Z'}}) {
    Key(VK_RETURN);
    ASSERT_EQ(L"a_1.txt>b_1.txt|a_2.txt>b_2.txt|", Rows());
    Key(key, key == 'Z');
    EXPECT_EQ(L"a_1.txt>|a_2.txt>|", Rows());
    EXPECT_EQ(ItemStatus::None, Work().list.Row(0).status);
    EXPECT_EQ(kModeReplace, Work().Mode());
    EXPECT_FALSE(Work().run.enterExecutes);
  }
}

TEST_F(MainWindowTest, AltRightWrapsFromTheLastModeToTheFirst) {
  Open();
  Key(VK_LEFT, false, false, true);  // from the first mode back to the last labelled one
  EXPECT_EQ(kModeMacro, Work().Mode());
  EXPECT_EQ(1, TabCtrl_GetCurSel(Parts().Item(IDC_MODE_TABS)));
  EXPECT_EQ(L"マクロ", Text(IDC_MODE_BUTTON_FIRST + 6));
  Key(VK_RIGHT, false, false, true);
  EXPECT_EQ(kModePositionEdit, Work().Mode());
  EXPECT_EQ(0, TabCtrl_GetCurSel(Parts().Item(IDC_MODE_TABS)));
  EXPECT_EQ(BST_CHECKED, SendMessageW(Parts().Item(IDC_MODE_BUTTON_FIRST), BM_GETCHECK, 0, 0));
  Key('2', true);
  EXPECT_EQ(kModeExtension, Work().Mode());
  Key('1', true);
  Key('1', true);
  EXPECT_EQ(kModeMacro, Work().Mode());
}

TEST_F(MainWindowTest, ASecondDropWithinAHundredMillisecondsIsIgnored) {
  Open();
  files.WriteFile(L"one.txt", "1");
  files.WriteFile(L"two.txt", "2");
  Drop({files / L"one.txt"});
  Drop({files / L"two.txt"});
  EXPECT_EQ(L"one.txt>|", Rows());
  Settle();
  Drop({files / L"two.txt"});
  EXPECT_EQ(L"one.txt>|two.txt>|", Rows());
}

TEST_F(MainWindowTest, TheListTargetSwitchEmptiesTheListAndShowsItsCheck) {
  files.WriteFile(L"one.txt", "1");
  Open({files.Path()});
  ASSERT_EQ(1u, Work().list.Count());
  Key('D', true);
  EXPECT_EQ(1, Work().settings.file_dir);
  EXPECT_EQ(0u, Work().list.Count());
  EXPECT_EQ(MF_CHECKED, GetMenuState(GetMenu(window), IDM_TOGGLE_TARGET, MF_BYCOMMAND) & MF_CHECKED);
  SendMessageW(Parts().dialog, WM_COMMAND, MAKEWPARAM(IDC_TARGET_PICTURE, STN_CLICKED),
               reinterpret_cast<LPARAM>(Parts().Item(IDC_TARGET_PICTURE)));
  EXPECT_EQ(0, Work().settings.file_dir);
}

TEST_F(MainWindowTest, DisplayTogglesShowAndHideThePartsAndAreSaved) {
  Open();
  ASSERT_TRUE(IsWindowVisible(Parts().toolbar));
  ASSERT_FALSE(Parts().tree && IsWindowVisible(Parts().tree));
  SendMessageW(window, WM_COMMAND, IDM_TOGGLE_TREE, 0);
  ASSERT_NE(nullptr, Parts().tree);
  EXPECT_TRUE(IsWindowVisible(Parts().tree));
  SendMessageW(window, WM_COMMAND, IDM_TOGGLE_TOOLBAR, 0);
  EXPECT_FALSE(IsWindowVisible(Parts().toolbar));
  SendMessageW(window, WM_COMMAND, IDM_TOGGLE_STATUS_BAR, 0);
  EXPECT_FALSE(IsWindowVisible(Parts().status));
  EXPECT_EQ(8, Work().settings.dispcontrols);
  Close();
  EXPECT_NE(std::string::npos, program.ReadFile(L"korvalith.ini").find("dispcontrols=8"));
}

// A tree shown at start is filled once the window shows (the start reads no shell namespace before
// the first paint); one shown later is filled as it is made.
TEST_F(MainWindowTest, TheFolderTreeShownAtStartIsFilledOnceTheWindowShows) {
  program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\ndispcontrols=14\r\n");
  Open();
  ASSERT_NE(nullptr, Parts().tree);
  EXPECT_TRUE(IsWindowVisible(Parts().tree));
  const HTREEITEM desktop = TreeView_GetRoot(Parts().tree);
  ASSERT_NE(nullptr, desktop);
  EXPECT_NE(nullptr, TreeView_GetChild(Parts().tree, desktop));
  const UINT items = TreeView_GetCount(Parts().tree);
  SendMessageW(window, WM_COMMAND, IDM_TOGGLE_TREE, 0);  // hidden
  SendMessageW(window, WM_COMMAND, IDM_TOGGLE_TREE, 0);  // shown again: the same items, once
  EXPECT_EQ(items, TreeView_GetCount(Parts().tree));
}

TEST_F(MainWindowTest, TheStatusBarShowsTheModeHintAndTheCounter) {
  files.WriteFile(L"one.txt", "1");
  files.WriteFile(L"two.txt", "2");
  Open({files.Path()});
  Click(IDC_MODE_BUTTON_FIRST + kModeExtension - 1);
  wchar_t text[256] = L"";
  SendMessageW(Parts().status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(L"【拡張子】 拡張子を変更します。空白にすると拡張子がなくなります。"), text);
  SendMessageW(window, WM_COMMAND, IDM_SELECT_ALL, 0);
  SendMessageW(Parts().status, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(L"選択   2/   2"), text);
  SendMessageW(window, WM_COMMAND, IDM_TOGGLE_SELECTION, 0);
  SendMessageW(Parts().status, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(L"選択   0/   2"), text);
}

TEST_F(MainWindowTest, HelpWithoutItsPageSaysSo) {
  Open();
  Key(VK_F1);
  ASSERT_FALSE(sink.requests.empty());
  EXPECT_EQ(L"ヘルプHTMLファイルが見つかりません。", sink.requests.back().text);
  EXPECT_EQ(L"No Help HTML File!", sink.requests.back().caption);
}

TEST_F(MainWindowTest, APreviewShowsEachRowsStatusIconAndWhyTheSystemRefusesAName) {
  files.WriteFile(L"a.txt", "1");
  files.WriteFile(L"b.txt", "2");
  Open({files.Path()});
  Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
  SetDlgItemTextW(Parts().dialog, IDC_REPLACE_FROM, L"a");
  SetDlgItemTextW(Parts().dialog, IDC_REPLACE_TO, L"CON");
  FocusList();
  Key(VK_RETURN);
  ASSERT_EQ(L"a.txt>CON.txt|b.txt>b.txt|", Rows());
  const ItemStatus expected[] = {ItemStatus::InvalidName, ItemStatus::Unchanged};
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(expected[row], Work().list.Row(row).status);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(Parts().list, &item);
    EXPECT_EQ(static_cast<int>(expected[row]), item.iImage) << row;
  }
  wchar_t text[256] = L"";
  SendMessageW(Parts().status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(0u, std::wstring(text).find(L" CON.txt : ")) << Utf8(text);
  // Typed anew, the next preview has no such name and shows the mode's hint again.
  HWND to = Parts().Item(IDC_REPLACE_TO);
  SetWindowTextW(to, L"c");
  SendMessageW(Parts().dialog, WM_COMMAND, MAKEWPARAM(IDC_REPLACE_TO, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(to));
  Settle();
  FocusList();
  Key(VK_RETURN);
  ASSERT_EQ(L"a.txt>c.txt|b.txt>b.txt|", Rows());
  SendMessageW(Parts().status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(0u, std::wstring(text).find(L"【置換】")) << Utf8(text);
}

TEST_F(MainWindowTest, F2RenamesTheFocusedRowInPlaceAfterTheQuestion) {
  files.WriteFile(L"photo.jpg", "1");
  files.WriteFile(L"other.jpg", "2");
  Open({files.Path()});
  auto rowOf = [&](const wchar_t* name) {
    for (size_t i = 0; i < Work().list.Count(); ++i) {
      if (Work().list.Row(i).oldName == name) return static_cast<int>(i);
    }
    return -1;
  };
  auto editName = [&](const wchar_t* from, const wchar_t* to) {
    const int row = rowOf(from);
    ListView_SetItemState(Parts().list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(Parts().list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    FocusList();
    // A person presses F2 once the window has settled from the last change (commands wait meanwhile).
    for (int waited = 0; Work().busy && waited < 2000; waited += 20) Pump(20);
    Key(VK_F2);
    HWND edit = ListView_GetEditControl(Parts().list);
    ASSERT_NE(nullptr, edit) << Utf8(from) << ": no edit box; busy " << Work().busy << ", focused row "
                             << ListView_GetNextItem(Parts().list, -1, LVNI_FOCUSED) << " of " << row;
    SetWindowTextW(edit, to);
    Key(VK_RETURN);  // ends the edit, never executes
    EXPECT_EQ(nullptr, ListView_GetEditControl(Parts().list));
  };
  struct Case {
    const wchar_t* from;
    const wchar_t* to;
    const wchar_t* caption;  // the last box shown, or null for none
    std::vector<std::wstring> onDisk;
  } cases[] = {
      {L"photo.jpg", L"Trip 01.jpeg", L"Rename it now?", {L"Trip 01.jpeg", L"other.jpg"}},
      {L"other.jpg", L"Trip 01.jpeg", L"Rename Failed.", {L"Trip 01.jpeg", L"other.jpg"}},  // taken
      {L"other.jpg", L"a:b.jpg", L"Rename Failed.", {L"Trip 01.jpeg", L"other.jpg"}},        // refused name
      {L"other.jpg", L"CON.jpg", L"Rename Failed.", {L"Trip 01.jpeg", L"other.jpg"}},
      {L"Trip 01.jpeg", L"TRIP 01.jpeg", L"Rename it now?", {L"TRIP 01.jpeg", L"other.jpg"}},  // case only
  };
  for (const Case& c : cases) {
    sink.requests.clear();
    editName(c.from, c.to);
    ASSERT_FALSE(sink.requests.empty()) << Utf8(c.to);
    EXPECT_EQ(c.caption, sink.requests.back().caption) << Utf8(c.to);
    EXPECT_EQ(c.onDisk, SortedNames(files.Path())) << Utf8(c.to);
  }
  ASSERT_GE(rowOf(L"TRIP 01.jpeg"), 0);
  EXPECT_EQ(L".jpeg", Work().list.Row(rowOf(L"TRIP 01.jpeg")).extension);
  // Each direct rename was logged as a run of its own: the newest undoes the case-only change,
  // the one before it the first rename.
  Key('B', true);
  ASSERT_TRUE(Work().UndoMode());
  Key(VK_RETURN);
  EXPECT_EQ((std::vector<std::wstring>{L"Trip 01.jpeg", L"other.jpg"}), SortedNames(files.Path()));
  Key('B', true);
  HWND selector = Parts().Item(IDC_UNDO_SLOT);
  SendMessageW(selector, CB_SETCURSEL, 1, 0);  // slot 2, the run before
  SendMessageW(Parts().dialog, WM_COMMAND, MAKEWPARAM(IDC_UNDO_SLOT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(selector));
  Key(VK_RETURN);
  EXPECT_EQ((std::vector<std::wstring>{L"other.jpg", L"photo.jpg"}), SortedNames(files.Path()));
}

TEST_F(MainWindowTest, SortsShowTheirArrowAndTheColumnWidthsAreSaved) {
  for (const wchar_t* name : {L"b.txt", L"a.txt", L"c.txt"}) files.WriteFile(name, "x");
  Open({files.Path()});
  auto arrows = [&](int column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(ListView_GetHeader(Parts().list), column, &item);
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
  };
  SendMessageW(window, WM_COMMAND, IDM_SORT_FIRST + 1, 0);  // old names, Z to A
  EXPECT_EQ(L"c.txt>|b.txt>|a.txt>|", Rows());
  EXPECT_EQ(HDF_SORTDOWN, arrows(0));
  SendMessageW(window, WM_COMMAND, IDM_SORT_FIRST + 20, 0);  // folders, A to Z
  EXPECT_EQ(0, arrows(0));
  EXPECT_EQ(HDF_SORTUP, arrows(2));
  ListView_SetColumnWidth(Parts().list, 1, 77);
  Close();
  EXPECT_NE(std::string::npos, program.ReadFile(L"korvalith.ini").find("head2w=77\r\n"));
}

TEST_F(MainWindowTest, NamesTypedInTheTextEditorArePreviewedThenExecuted) {
  Open();
  Key('E', true);  // an empty list has nothing to edit
  ASSERT_FALSE(sink.requests.empty());
  EXPECT_EQ(L"Empty List", sink.requests.back().caption);
  files.WriteFile(L"a.txt", "1");
  files.WriteFile(L"b.txt", "2");
  Close();
  Open({files.Path()});
  std::wstring leftPane;
  {
    DialogAnswers editor;
    editor.Expect(L"the text editor dialog", [&leftPane](HWND dialog) {
      if (!HasControl(dialog, IDC_EDIT_NEW)) return false;
      wchar_t text[256] = L"";
      GetDlgItemTextW(dialog, IDC_EDIT_OLD, text, 256);
      leftPane = text;
      SetDlgItemTextW(dialog, IDC_EDIT_NEW, L"first.txt\r\nsecond.txt\r\n");
      SendMessageW(dialog, WM_COMMAND, IDC_EDIT_APPLY, 0);
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
    Key('E', true);
  }
  EXPECT_EQ(L"a.txt\r\nb.txt\r\n", leftPane);
  EXPECT_EQ(L"a.txt>first.txt|b.txt>second.txt|", Rows());
  EXPECT_EQ(ItemStatus::Ready, Work().list.Row(0).status);
  EXPECT_TRUE(Work().run.editedInTextEditor);
  // Choosing a mode, in any of its ways, would drop the typed names: the question comes, and No
  // keeps the names, the mode and its pressed button.
  HWND tabs = Parts().Item(IDC_MODE_TABS);
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"Alt+Right", [&] { Key(VK_RIGHT, false, false, true); }},
      {"a mode button", [&] { Click(IDC_MODE_BUTTON_FIRST + kModeSerialNumber - 1); }},
      {"the other tab", [&] {
         TabCtrl_SetCurSel(tabs, 1);
         NMHDR change{tabs, IDC_MODE_TABS, static_cast<UINT>(TCN_SELCHANGE)};
         SendMessageW(Parts().dialog, WM_NOTIFY, IDC_MODE_TABS, reinterpret_cast<LPARAM>(&change));
       }},
  };
  const int mode = Work().Mode();
  for (const auto& [way, choose] : ways) {
    sink.requests.clear();
    sink.Answer(IDNO);
    choose();
    ASSERT_EQ(1u, sink.requests.size()) << way;
    EXPECT_EQ(L"Clear Edited File Name?", sink.requests.back().caption) << way;
    EXPECT_EQ(L"a.txt>first.txt|b.txt>second.txt|", Rows()) << way;
    EXPECT_EQ(mode, Work().Mode()) << way;
    EXPECT_EQ(0, TabCtrl_GetCurSel(tabs)) << way;
    for (int button = 1; button <= 12; ++button) {
      EXPECT_EQ(button == mode ? BST_CHECKED : BST_UNCHECKED,
                SendMessageW(Parts().Item(IDC_MODE_BUTTON_FIRST + button - 1), BM_GETCHECK, 0, 0))
          << way << " " << button;
    }
  }
  FocusList();
  Key(VK_RETURN);
  EXPECT_EQ((std::vector<std::wstring>{L"first.txt", L"second.txt"}), SortedNames(files.Path()));
}

TEST_F(MainWindowTest, WithTheSelectionFilterOnlyTheRowsAPersonSelectsTakePart) {
  for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) files.WriteFile(name, "x");
  Open({files.Path()});
  SetDlgItemTextW(Parts().dialog, IDC_FILTER, kSelectionKeyword);
  SendMessageW(Parts().dialog, WM_COMMAND, MAKEWPARAM(IDC_FILTER, CBN_EDITCHANGE), 0);
  Settle();
  EXPECT_EQ(kSelectionKeyword, Text(IDC_FILTER));  // what was typed stays in the box
  ListView_SetItemState(Parts().list, 1, LVIS_SELECTED, LVIS_SELECTED);  // as a click does
  WaitFor([this] { return Work().list.Row(1).status != ItemStatus::Filtered; }, "the selection to settle (timer 1507)");
  EXPECT_EQ(ItemStatus::Filtered, Work().list.Row(0).status);
  EXPECT_EQ(ItemStatus::None, Work().list.Row(1).status);
  EXPECT_EQ(ItemStatus::Filtered, Work().list.Row(2).status);
}

}  // namespace
}  // namespace korval
