// The mode panels' controls made when their mode is first shown: made as the dialog manager makes a
// template's controls, in the template's order above the mode tabs, and never losing a stored value
// of a mode not shown yet.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "modes/change_mode.h"
#include "platform/dialog_template.h"
#include "resources/resource.h"
#include "testing/program_runner.h"
#include "testing/main_window_test_fixture.h"
#include "ui/mode_groups.h"

namespace korval {
namespace {

std::vector<DialogItem> PanelItems() { return ReadDialogItems(GetModuleHandleW(nullptr), IDD_MODE_PANELS); }

TEST(ModePanelTemplate, EveryControlBelongsToOneModeGroupAndEveryGroupControlIsThere) {
  std::vector<int> grouped;
  for (const ModeGroup& group : ModeGroups()) grouped.insert(grouped.end(), group.controls.begin(), group.controls.end());
  std::vector<int> made;
  for (const DialogItem& item : PanelItems()) made.push_back(item.id);
  std::sort(grouped.begin(), grouped.end());
  std::sort(made.begin(), made.end());
  EXPECT_FALSE(made.empty());
  EXPECT_EQ(grouped, made);
  EXPECT_EQ(made.end(), std::adjacent_find(made.begin(), made.end()));
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(MainWindowTest, AModesControlsAreMadeWhenItIsFirstShownAsTheDialogManagerMakesThem) {
  Open();
  ASSERT_EQ(kModePositionEdit, Work().Mode());
  EXPECT_NE(nullptr, Parts().Item(IDC_POSITION_TEXT));
  EXPECT_EQ(nullptr, Parts().Item(IDC_REPLACE_FROM));  // not shown yet, not made
  // Backwards, so that the controls are made in an order other than the template's.
  for (auto group = ModeGroups().rbegin(); group != ModeGroups().rend(); ++group) ASSERT_TRUE(StepToMode(group->mode, true));

  // The same template made by the dialog manager, as the reference.
  HWND reference = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MODE_PANELS), window, QuietDialog, 0);
  ASSERT_NE(nullptr, reference);
  std::vector<int> order;
  for (const DialogItem& item : PanelItems()) {
    SCOPED_TRACE(item.id);
    HWND made = Parts().Item(item.id), expected = GetDlgItem(reference, item.id);
    ASSERT_NE(nullptr, made);
    ASSERT_NE(nullptr, expected);
    EXPECT_EQ(WindowClass(expected), WindowClass(made));
    if (WindowClass(made) == L"Button" || WindowClass(made) == L"Static") {
      EXPECT_EQ(WindowText(expected), WindowText(made));
    }
    EXPECT_EQ(GetWindowLongW(expected, GWL_STYLE) & ~WS_VISIBLE, GetWindowLongW(made, GWL_STYLE) & ~(WS_VISIBLE | WS_DISABLED));
    EXPECT_EQ(GetWindowLongW(expected, GWL_EXSTYLE), GetWindowLongW(made, GWL_EXSTYLE));
    RECT a, b;
    GetWindowRect(expected, &a);
    GetWindowRect(made, &b);
    EXPECT_EQ(a.right - a.left, b.right - b.left);
    EXPECT_EQ(a.bottom - a.top, b.bottom - b.top);
    EXPECT_EQ(SendMessageW(Parts().dialog, WM_GETFONT, 0, 0), SendMessageW(made, WM_GETFONT, 0, 0));
    order.push_back(item.id);
  }
  DestroyWindow(reference);

  // In the dialog's z-order: after the last mode button, in the template's order, and so above the
  // tabs (which come last in the main dialog's template).
  std::vector<int> between;
  for (HWND child = GetWindow(Parts().Item(IDC_MODE_BUTTON_LAST), GW_HWNDNEXT);
       child && child != Parts().Item(IDC_UNDO_CAPTION); child = GetWindow(child, GW_HWNDNEXT)) {
    between.push_back(GetDlgCtrlID(child));
  }
  EXPECT_EQ(order, between);
}

// The values the settings hold for the panels of modes not shown yet are saved again at the end as
// they were read: a control not made keeps its value in the panel.
TEST_F(MainWindowTest, StoredValuesOfModesNotShownAreSavedAsTheyWere) {
  const char* const kStored[] = {
      "attribute=4128",  // read-only on, hidden off, archive and system left as they are
      "zentohan=4112", "datefrom=5", "timeplus=75", "creatmodif=2", "rndlen=1", "deltype=9",
      "dellen=4",      "addlen=6",   "sepstr=\"#\"",    "macrono=7",    "repmode=1",
  };
  std::string ini = "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\nmode=0\r\n";
  for (const char* line : kStored) ini += std::string(line) + "\r\n";
  program.WriteFile(L"korvalith.ini", ini);
  Open();
  ASSERT_EQ(kModePositionEdit, Work().Mode());
  Close();
  const std::string saved = program.ReadFile(L"korvalith.ini");
  for (const char* line : kStored) EXPECT_NE(std::string::npos, saved.find(std::string(line) + "\r\n")) << line;
}

}  // namespace
}  // namespace korval
