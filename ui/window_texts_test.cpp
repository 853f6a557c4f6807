// The texts the window composes: status hints and counter, the first-start verdict, the folder
// dialog's prompt, the folder tree's exclusions, the toolbar's table, the mode steps.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "modes/change_mode.h"
#include "testing/button_fit.h"
#include "resources/resource.h"
#include "ui/first_start_dialog.h"
#include "ui/folder_dialog.h"
#include "ui/folder_tree.h"
#include "ui/mode_selection.h"
#include "ui/status_bar.h"
#include "ui/toolbar.h"

namespace korval {
namespace {

TEST(WindowTexts, EveryButtonCaptionFitsItsButtonAtTheDialogFont) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  EXPECT_EQ(std::vector<std::string>{}, ButtonsTooNarrow(GetModuleHandleW(nullptr)));
}

TEST(WindowTexts, StatusHints) {
  EXPECT_EQ(L" ■ファイルやフォルダをドラッグ＆ドロップして下さい。■", HintText(kHintIdle, false, false));
  EXPECT_EQ(L"【置換】 ある文字を他の文字に置き換えます。正規表現も使えます。", HintText(ModeHint(kModeReplace), false, false));
  EXPECT_EQ(L"【マクロ】 複数のモードの処理を記録して再生(連続に処理)します。何度も利用できます。",
            HintText(ModeHint(kModeMacro), false, false));
  EXPECT_EQ(kUndoHint, HintText(kHintSorting, true, false));
  EXPECT_EQ(kTestModeBanner, HintText(kHintIdle, true, true));
  EXPECT_EQ(L"", HintText(ModeHint(15), false, false));  // no mode there
  EXPECT_EQ(L"選択   0/   0", CounterText(0, 0));
  EXPECT_EQ(L"選択  12/ 50000", CounterText(12, 50000));
}

TEST(WindowTexts, FirstStartVerdictBySystem) {
  struct Case {
    const wchar_t* system;
    const wchar_t* verdictStart;
  } cases[] = {{L"Windows 10", L"OK\n\n"}, {L"WindowsXP x64", L"OK\n\n"}, {L"New Windows", L"Warn\n\n"},
               {L"Windows Svr 2012", L"NG\n\n"}, {L"WindowsNT4", L"NG\n\n"}, {L"Unknown Windows", L"NG\n\n"}};
  for (const Case& c : cases) {
    WindowsVersion version;
    version.name = c.system;
    const std::wstring text = FirstStartVerdict(version);
    const std::wstring head = std::wstring(L"【 初回起動 】　　　　　[") + c.system + L"]:";
    EXPECT_EQ(head + c.verdictStart, text.substr(0, head.size() + wcslen(c.verdictStart)));
  }
  EXPECT_EQ(L"「Korvalith」の表記が使われます。", FirstStartNameLine(true));
  EXPECT_EQ(L"「こ～ばりす～ず」の表記が使われます。", FirstStartNameLine(false));
}

TEST(WindowTexts, FolderDialogPromptFollowsTheListTarget) {
  EXPECT_EQ(L"指定したフォルダ以下のファイルがリストに追加されます", FolderDialogPrompt(0));
  EXPECT_EQ(L"指定したフォルダの直下のフォルダがリストに追加されます", FolderDialogPrompt(1));
}

TEST(WindowTexts, FolderTreeExclusions) {
  struct Case {
    const wchar_t* name;
    int icon;
    bool excluded;
  } cases[] = {{L"ごみ箱", 31, true},         {L"The Recycle Bin", 31, true}, {L"コントロール パネル", 35, true},
               {L"Control Panel", 35, true}, {L"ホームグループ", 40, true},  {L"HomeGroup", 40, true},
               {L"photos.zip", 40, true},    {L"ごみ箱", 5, false},          {L"Documents", 40, false},
               {L"photos.ZIP", 40, false}};
  for (const Case& c : cases) EXPECT_EQ(c.excluded, ExcludedFromTree(c.name, c.icon)) << c.icon;
}

TEST(WindowTexts, ToolbarHasSeparatorsAtTheirPositionsAndTooltipsForEveryButton) {
  int buttons = 0;
  for (int i = 0; i < kToolbarPositions; ++i) {
    const bool separator = i == 0 || i == 3 || i == 8 || i == 11 || i == 13 || i == 15 || i == 17;
    EXPECT_EQ(separator, kToolbarButtons[i].command == 0) << i;
    if (!separator) {
      ++buttons;
      EXPECT_NE(nullptr, ToolbarTooltip(kToolbarButtons[i].command));
    }
  }
  EXPECT_EQ(14, buttons);
  EXPECT_STREQ(L"実行(Enter)", ToolbarTooltip(IDM_ENTER));
}

TEST(WindowTexts, ModeStepsSkipEmptySlotsAndWrap) {
  EXPECT_EQ(1, SteppedModeIndex(0, 1));
  EXPECT_EQ(kModeMacro - 1, SteppedModeIndex(kModeAttribute - 1, 1));
  EXPECT_EQ(0, SteppedModeIndex(kModeMacro - 1, 1));
  EXPECT_EQ(kModeMacro - 1, SteppedModeIndex(0, -1));
  EXPECT_EQ(kModeAttribute - 1, SteppedModeIndex(kModeMacro - 1, -1));
}

}  // namespace
}  // namespace korval
