// The editor's window driven in-process: loading slots, editing the list through its commands and
// buttons, saving, deleting and closing, with the files on disk checked.
#include "macroedit/editor_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>

#include "testing/editor_driver.h"
#include "macroedit/reduce_dialog.h"
#include "macroedit/save_name_dialog.h"
#include "testing/button_fit.h"
#include "testing/dialog_answers.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"
#include "resources/macroedit_resource.h"
#include "tests/macro_bytes.h"

namespace korval {
namespace {

const std::string kThreeSteps = "KV150\n" + Record("REP", "002", "_", " ") + Record("123", "000", "<01>-", "") +
                                Record("Aa ", "400", "", "");

// Works the dialog with the title once it is up.
DialogAnswers::Answer WorkDialog(std::wstring title, std::function<void(HWND)> work) {
  return [title = std::move(title), work = std::move(work)](HWND dialog) {
    if (DialogTitle(dialog) != title || !HasControl(dialog, IDOK)) return false;
    work(dialog);
    return true;
  };
}

std::wstring DialogText(HWND dialog, int id) {
  wchar_t text[300] = L"";
  GetDlgItemTextW(dialog, id, text, 300);
  return text;
}

class EditorWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_.WriteFile(L"use.ini", "");
    folder_.WriteFile(L"macro3.bin", kThreeSteps);
    folder_.WriteFile(L"macro.lst", "3:three\n");
  }

  std::vector<std::wstring> Captions() const {
    std::vector<std::wstring> captions;
    for (const MessageRequest& r : sink_.requests) captions.push_back(r.caption);
    return captions;
  }

  TempFolder folder_;
  ScriptedMessageSink sink_;
};

TEST(EditorDialogs, EveryButtonCaptionFitsItsButtonAtTheDialogFont) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  EXPECT_EQ(std::vector<std::string>{}, ButtonsTooNarrow(GetModuleHandleW(nullptr)));
}

TEST_F(EditorWindowTest, TheSlotOfTheCommandLineIsShownWithItsSteps) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  ASSERT_TRUE(editor.Open());
  EXPECT_EQ(3, editor.State().slot);
  EXPECT_EQ((std::vector<std::wstring>{L"置換", L"連番 (123...)", L"大(A)⇔小(a)"}), editor.Column(0));
  EXPECT_EQ(L"[0,0,2] \"_\",\" \"(全て　A/a区別)", editor.Column(1)[0]);
  wchar_t text[64] = L"";
  GetDlgItemTextW(editor.State().dialog, IDC_SLOT_TEXT, text, 64);
  EXPECT_STREQ(L"03：three", text);
  SendMessageW(editor.State().statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(L"マクロNo.03　Ver 1.5", text);
  EXPECT_EQ(0, editor.State().modified);
}

TEST_F(EditorWindowTest, EditedStepsAreSavedIntoTheNamedSlotAndTheFilesFollow) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.SelectRows({2});
  editor.Command(IDM_MOVE_UP);  // the case step before the serial step
  EXPECT_EQ(3, editor.State().modified);
  editor.SelectRows({0});
  editor.Click(IDM_DELETE_ROWS);
  editor.AnswerSaveName(4, L"短い");
  editor.Click(IDC_SAVE_AS);
  EXPECT_TRUE(sink_.requests.empty());
  EXPECT_EQ("KV150\n" + Record("Aa ", "400", "", "") + Record("123", "000", "<01>-", ""), folder_.ReadFile(L"macro5.bin"));
  EXPECT_EQ(kThreeSteps, folder_.ReadFile(L"macro3.bin"));
  EXPECT_EQ("3:three\n5:\x92\x5a\x82\xa2\n", folder_.ReadFile(L"macro.lst"));
  EXPECT_EQ(5, editor.State().slot);
  EXPECT_EQ(0, editor.State().modified);
}

TEST_F(EditorWindowTest, TheNamingDialogOffersEverySlotAndGivesBackTheChosenOneAndName) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.State().askSaveName = [&](SaveNameData& data) { return ShowSaveNameDialog(editor.Window(), &data); };
  std::wstring shownNumber, chosenNumber, shownName;
  LRESULT slots = 0;
  DialogAnswers answers;
  answers.Expect(L"the naming dialog", WorkDialog(L"名前を付けて保存", [&](HWND dialog) {
    shownNumber = DialogText(dialog, IDC_SAVE_SLOT_NUMBER);
    shownName = DialogText(dialog, IDC_SAVE_NAMES);
    slots = SendDlgItemMessageW(dialog, IDC_SAVE_NAMES, CB_GETCOUNT, 0, 0);
    SendDlgItemMessageW(dialog, IDC_SAVE_NAMES, CB_SETCURSEL, 6, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SAVE_NAMES, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SAVE_NAMES)));
    chosenNumber = DialogText(dialog, IDC_SAVE_SLOT_NUMBER);
    SetDlgItemTextW(dialog, IDC_SAVE_NAMES, L"七番");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  }));
  editor.Click(IDC_SAVE_AS);
  EXPECT_EQ(L"3：", shownNumber);
  EXPECT_EQ(L"three", shownName);
  EXPECT_EQ(25, slots);
  EXPECT_EQ(L"7：", chosenNumber);
  EXPECT_EQ(kThreeSteps, folder_.ReadFile(L"macro7.bin"));
  EXPECT_EQ("3:three\n7:\x8e\xb5\x94\xd4\n", folder_.ReadFile(L"macro.lst"));
  EXPECT_EQ(7, editor.State().slot);
}

TEST_F(EditorWindowTest, TheReductionDialogOffersTwoToEightParts) {
  folder_.WriteFile(L"macro3.bin", "KV150\n" + Record("REP", "002", "a", "1") + Record("REP", "002", "b", "2") +
                                       Record("REP", "002", "c", "3"));
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.State().askReduce = [&](ReduceData& data) { return ShowReduceDialog(editor.Window(), &data); };
  std::wstring firstPart, lastPart;
  LRESULT shown = -1;
  DialogAnswers answers;
  answers.Expect(L"the reduction dialog", WorkDialog(L"置換の数の削減", [&](HWND dialog) {
    wchar_t text[8] = L"";
    SendDlgItemMessageW(dialog, IDC_REDUCE_MAX, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    firstPart = text;
    SendDlgItemMessageW(dialog, IDC_REDUCE_MAX, CB_GETLBTEXT, 6, reinterpret_cast<LPARAM>(text));
    lastPart = text;
    shown = SendDlgItemMessageW(dialog, IDC_REDUCE_MAX, CB_GETCURSEL, 0, 0);
    SendDlgItemMessageW(dialog, IDC_REDUCE_MAX, CB_SETCURSEL, 1, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  }));
  sink_.Answer(IDCANCEL);  // not saved
  editor.Command(IDM_REDUCE);
  EXPECT_EQ(L"2", firstPart);
  EXPECT_EQ(L"8", lastPart);
  EXPECT_EQ(6, shown);
  EXPECT_EQ(1, editor.State().settings.maxmultirep);
  EXPECT_EQ((std::vector<std::wstring>{L"[0,0,2] \"a/b/c\",\"1/2/3\"(全て　A/a区別)"}), editor.Column(1));
  EXPECT_EQ(3, editor.State().modified);
}

TEST_F(EditorWindowTest, AStepBuiltInThePanelGoesAfterTheFocusedRow) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.Click(IDC_MODE_BUTTON + 10);
  editor.SetText(IDC_REPLACE_FROM, L"a/b");
  editor.SetText(IDC_REPLACE_TO, L"c");
  editor.Check(IDC_REPLACE_REGEXP, true);
  editor.Check(IDC_REPLACE_CASE, false);
  editor.SelectListItem(IDC_REPLACE_MODE, 1);
  editor.SelectRows({0});
  editor.Command(IDM_ADD_STEP);
  ASSERT_EQ(4u, editor.Column(1).size());
  EXPECT_EQ(L"[1,1,0] \"a/b\",\"c\"(最初のみ　正規表現)", editor.Column(1)[1]);
  // Choosing "最後のみ" clears the regular expression switch.
  editor.SelectListItem(IDC_REPLACE_MODE, 2);
  editor.SelectRows({3});
  editor.Command(IDM_ADD_STEP);
  EXPECT_EQ(L"[2,0,0] \"a/b\",\"c\"(最後のみ)", editor.Column(1)[4]);

  editor.Click(IDC_MODE_BUTTON + 8);
  editor.SelectListItem(IDC_DELETE_TYPE, 10);
  editor.SetText(IDC_DELETE_COUNT, L"2");
  editor.SetText(IDC_DELETE_COUNT2, L"3");
  editor.SelectRows({});
  editor.Command(IDM_ADD_STEP);
  EXPECT_EQ(L"[:,0,2] (指定文字数より後＿文字分 を削除 : 2 文字)", editor.Column(1)[0]);
  editor.AnswerSaveName(0, L"x");
  editor.Click(IDC_SAVE_AS);
  EXPECT_EQ(0u, folder_.ReadFile(L"macro1.bin").find("KV150\n" + Record("DEL", ":02", "3", "")));
}

TEST_F(EditorWindowTest, TheWheelStepsTheNumberBoxesWithinTheirRange) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.Click(IDC_MODE_BUTTON + 8);
  struct Case {
    int box;
    const wchar_t* before;
    int delta;
    UINT after;
  } cases[] = {
      {IDC_DELETE_COUNT, L"0", -WHEEL_DELTA, 0},   {IDC_DELETE_COUNT, L"0", WHEEL_DELTA, 1},
      {IDC_DELETE_COUNT2, L"255", WHEEL_DELTA, 255}, {IDC_DELETE_COUNT2, L"255", -WHEEL_DELTA, 254},
  };
  for (const Case& c : cases) {
    editor.SetText(c.box, c.before);
    editor.Wheel(c.box, c.delta);
    EXPECT_EQ(c.after, GetDlgItemInt(editor.State().dialog, c.box, nullptr, FALSE)) << c.box << " " << c.delta;
  }
  editor.Click(IDC_MODE_BUTTON + 7);
  editor.SetText(IDC_ADD_POSITION, L"7");
  editor.Wheel(IDC_ADD_POSITION, WHEEL_DELTA);
  EXPECT_EQ(8u, GetDlgItemInt(editor.State().dialog, IDC_ADD_POSITION, nullptr, FALSE));
}

TEST_F(EditorWindowTest, ATooLongTextIsRefused) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.Click(IDC_MODE_BUTTON + 2);
  editor.SetText(IDC_EXTENSION, std::wstring(300, L'x'));
  editor.Command(IDM_ADD_STEP);
  EXPECT_EQ((std::vector<std::wstring>{L"Too Many Characters"}), Captions());
  EXPECT_EQ(3u, editor.State().rows.size());
}

TEST_F(EditorWindowTest, PositionEditNeedsAFixedSample) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.Click(IDC_MODE_BUTTON + 1);
  editor.Command(IDM_ADD_STEP);
  EXPECT_EQ((std::vector<std::wstring>{L"no edit file name"}), Captions());
  EXPECT_EQ(3u, editor.Column(0).size());

  editor.SetText(IDC_POSITION_SAMPLE, L"abc.txt");
  editor.Click(IDC_POSITION_SET);
  editor.Pump(400);  // the map becomes the identity 350 ms after the sample is fixed
  editor.SetText(IDC_POSITION_EDIT, L"Xabc.txt");
  editor.SelectRows({2});
  editor.Command(IDM_ADD_STEP);
  ASSERT_EQ(4u, editor.Column(0).size());
  EXPECT_EQ(L"位置編集", editor.Column(0)[3]);
  EXPECT_EQ(L"[0] Xabc.txt", editor.Column(1)[3]);
  EXPECT_EQ(L"000102030405", editor.Column(2)[3].substr(0, 12));
  EXPECT_EQ(258u, editor.State().rows[3].setting2.size());
}

TEST_F(EditorWindowTest, CopiedRowsComeBackFromTheClipboardInTheirOrder) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  const StepRows before = editor.State().rows;
  editor.Command(IDM_SELECT_ALL);
  editor.Command(IDM_CUT);
  EXPECT_TRUE(editor.State().rows.empty());
  editor.Command(IDM_PASTE);
  EXPECT_EQ(3u, editor.State().rows.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(before[i].mode, editor.State().rows[i].mode);
    EXPECT_EQ(before[i].setting, editor.State().rows[i].setting);
  }
}

TEST_F(EditorWindowTest, AChangedListIsKeptWhenThePersonSaysNo) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.SelectRows({0});
  editor.Command(IDM_DELETE_ROWS);
  sink_.Answer(IDNO);
  editor.Click(IDC_NEXT_SLOT);
  EXPECT_EQ(3, editor.State().slot);
  EXPECT_EQ(2u, editor.State().rows.size());
  sink_.Answer(IDNO);
  EXPECT_FALSE(editor.Close());
  EXPECT_EQ((std::vector<std::wstring>{L"clear edit list?", L"exit anyway?"}), Captions());
  sink_.Answer(IDYES);
  editor.Command(IDM_RESET);
  EXPECT_EQ(3u, editor.State().rows.size());
  EXPECT_EQ(0, editor.State().modified);
}

TEST_F(EditorWindowTest, SlotsStepBetweenOneAndTwentyFive) {
  EditorDriver editor(folder_.Path(), {L"/macro2"});
  editor.Click(IDC_PREVIOUS_SLOT);
  EXPECT_EQ(1, editor.State().slot);
  editor.Click(IDC_PREVIOUS_SLOT);
  EXPECT_EQ(1, editor.State().slot);
  editor.Click(IDC_NEXT_SLOT);
  editor.Click(IDC_NEXT_SLOT);
  EXPECT_EQ(3, editor.State().slot);
  EXPECT_EQ(3u, editor.State().rows.size());
  EditorDriver last(folder_.Path(), {L"/macro25"});
  last.Click(IDC_NEXT_SLOT);
  EXPECT_EQ(25, last.State().slot);
}

TEST_F(EditorWindowTest, DeletingTheMacroRemovesItsFileAndName) {
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.Click(IDC_DELETE_MACRO);
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(L"マクロ[03：three]を削除します。", sink_.requests[0].text);
  EXPECT_FALSE(folder_.Exists(L"macro3.bin"));
  EXPECT_EQ("", folder_.ReadFile(L"macro.lst"));
  EXPECT_TRUE(editor.State().rows.empty());
  // An empty list of names is removed when the editor closes.
  EXPECT_TRUE(editor.Close());
  EXPECT_FALSE(folder_.Exists(L"macro.lst"));
}

TEST_F(EditorWindowTest, ReducedReplacementsAreOfferedForSaving) {
  folder_.WriteFile(L"macro3.bin", "KV150\n" + Record("REP", "002", "a", "1") + Record("REP", "002", "b", "2") +
                                       Record("REP", "002", "c", "3"));
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  editor.AnswerReduce(0);  // two parts at most
  editor.AnswerSaveName(2, L"merged");
  editor.Command(IDM_REDUCE);
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(L"手順の数が削減されました。\n3　→　2\n\n名前を付けて保存しますか。", sink_.requests[0].text);
  EXPECT_EQ("KV150\n" + Record("REP", "002", "a/b", "1/2") + Record("REP", "002", "c", "3"),
            folder_.ReadFile(L"macro3.bin"));
  EXPECT_EQ(0, editor.State().settings.maxmultirep);

  editor.Command(IDM_REDUCE);
  EXPECT_EQ(L"削減可能な箇所はありません。", sink_.requests.back().text);
}

TEST_F(EditorWindowTest, BrokenAndUnreadableFilesOpenEmptyAndStayAsTheyWere) {
  folder_.WriteFile(L"macro3.bin", "garbage\n");
  folder_.WriteFile(L"macro.lst", std::string(5000, '\xff'));
  EditorDriver editor(folder_.Path(), {L"/macro3"});
  EXPECT_EQ((std::vector<std::wstring>{L"broken macro file"}), Captions());
  EXPECT_TRUE(editor.State().rows.empty());
  editor.Click(IDC_NEXT_SLOT);  // no file at all
  EXPECT_TRUE(editor.State().rows.empty());
  EXPECT_TRUE(editor.Close());
  EXPECT_EQ("garbage\n", folder_.ReadFile(L"macro3.bin"));
  EXPECT_EQ(std::string(5000, '\xff'), folder_.ReadFile(L"macro.lst"));
}

// A message about the next slot's file shows over an empty list, not over the rows of the slot
// before (which would be drawn blank).
TEST_F(EditorWindowTest, AMessageAboutTheNextSlotShowsOverAnEmptyList) {
  const std::pair<std::string, const wchar_t*> cases[] = {{"KV160\n", L"non-supported version"},
                                                          {"garbage\n", L"broken macro file"}};
  for (const auto& [bytes, caption] : cases) {
    folder_.WriteFile(L"macro4.bin", bytes);
    EditorDriver editor(folder_.Path(), {L"/macro3"});
    ASSERT_EQ(3, ListView_GetItemCount(editor.State().list));
    int rowsBehind = -1;
    sink_.onShow = [&](const MessageRequest&) { rowsBehind = ListView_GetItemCount(editor.State().list); };
    editor.Click(IDC_NEXT_SLOT);
    sink_.onShow = nullptr;
    ASSERT_FALSE(sink_.requests.empty());
    EXPECT_EQ(caption, sink_.requests.back().caption);
    EXPECT_EQ(0, rowsBehind) << Utf8(caption);
  }
}

TEST_F(EditorWindowTest, SettingsAreKeptInTheEditorsIniFile) {
  {
    EditorDriver editor(folder_.Path(), {L"/macro3"});
    editor.Command(IDM_NEXT_MODE);
    editor.Command(IDM_NEXT_MODE);
    editor.SetText(IDC_SERIAL, L"<001>");
    editor.Click(IDC_MODE_BUTTON + 10);
    editor.SetText(IDC_REPLACE_FROM, L"_");
    editor.SetText(IDC_REPLACE_TO, L"ー");
    editor.Command(IDM_ADD_STEP);
    editor.Click(IDC_MODE_BUTTON + 3);
    editor.Command(IDM_SELECT_ALL);
    editor.Command(IDM_DELETE_ROWS);
    sink_.Answer(IDYES);
    int dragged[3] = {2, 0, 1};  // the step list's headers dragged into another order
    ListView_SetColumnOrderArray(editor.State().list, 3, dragged);
    EXPECT_TRUE(editor.Close());
  }
  const std::string ini = folder_.ReadFile(L"korvalmacroedit.ini");
  EXPECT_NE(std::string::npos, ini.find("_count=1")) << ini;
  EXPECT_NE(std::string::npos, ini.find("mode=3")) << ini;
  EXPECT_NE(std::string::npos, ini.find("renbanstr=\"<001>\"")) << ini;
  EXPECT_NE(std::string::npos, ini.find("replacefrom1=\"_\"")) << ini;
  EXPECT_NE(std::string::npos, ini.find("replaceto1=\"\x81\x5b\"")) << ini;
  // Every key the editor keeps is written, also those it only keeps for the renamer.
  for (const char* line : {"\r\nheadcount=513\r\n", "\r\ndel=0\r\n", "\r\nlistcols1=1\r\n", "\r\nlistcols2=1\r\n",
                           "\r\nbmargin=0\r\n", "\r\nrmargin=0\r\n", "\r\ntimestamp=0\r\n", "\r\nattribute=8738\r\n"}) {
    EXPECT_NE(std::string::npos, ini.find(line)) << line;
  }
  EditorDriver again(folder_.Path());
  EXPECT_EQ(3, again.State().settings.panel.mode);
  EXPECT_EQ(2, again.State().settings.count);
  EXPECT_EQ((std::vector<std::wstring>{L"_"}), again.State().settings.replaceFromHistory);
  EXPECT_EQ(1, SendDlgItemMessageW(again.State().dialog, IDC_REPLACE_TO, CB_GETCOUNT, 0, 0));
  EXPECT_EQ(1, again.State().slot);
  int order[3] = {};
  ASSERT_TRUE(ListView_GetColumnOrderArray(again.State().list, 3, order));
  EXPECT_EQ((std::vector<int>{2, 0, 1}), std::vector<int>(order, order + 3));
}

}  // namespace
}  // namespace korval
