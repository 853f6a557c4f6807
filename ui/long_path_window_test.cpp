// The window over a deep tree where the system does not take long paths (the test prefix's
// setting): items dropped are listed whole, a long name made short is previewed, executed and
// undone, a new path of 256 or more is marked and left alone, a CSV file keeps the long folders,
// and names typed in the text editor are executed. Every step checks the disk.
#include <windows.h>

#include "engine/item_status.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "testing/deep_tree.h"
#include "testing/main_window_test_fixture.h"

namespace korval {
namespace {

const std::wstring kLongName = std::wstring(150, L'n') + L".txt";
const std::wstring kTwoRowsAsDropped = kLongName + L">|" + kLongName + L">|";

class LongPathWindowTest : public MainWindowTest {
 protected:
  // The same name of 154 characters in a folder of 150 (a path of 304) and 1,000 characters deep in
  // Japanese folders of 85, dropped on the window.
  void OpenWithDeepTree() {
    near_ = MakeDeepFolder(files.Path(), 150, L'f', 60);
    deep_ = MakeDeepFolder(near_, 1000, L'長', 85);
    ASSERT_EQ(1000u, deep_.size());
    for (const std::wstring& folder : {near_, deep_}) ASSERT_TRUE(MakeFile(folder + kLongName));
    Open();
    Drop({near_ + kLongName, deep_ + kLongName});
    ASSERT_TRUE(Settle());
    ASSERT_EQ(kTwoRowsAsDropped, Rows());
    EXPECT_EQ(near_, Work().list.Row(0).folder);
    EXPECT_EQ(deep_, Work().list.Row(1).folder);
    FocusList();
  }
  // Both rows named short.txt: the near one is ready, the deep one's new path is too long.
  void ExpectShortNamesPreviewed() {
    EXPECT_EQ(kLongName + L">short.txt|" + kLongName + L">short.txt|", Rows());
    EXPECT_EQ(ItemStatus::Ready, Work().list.Row(0).status);
    EXPECT_EQ(ItemStatus::TooLong, Work().list.Row(1).status);
  }
  // Whether the near file carries the short name now; the deep one always keeps its name.
  void ExpectOnDisk(bool nearRenamed, const char* step) {
    EXPECT_EQ(nearRenamed, ExistsAt(near_ + L"short.txt")) << step;
    EXPECT_EQ(!nearRenamed, ExistsAt(near_ + kLongName)) << step;
    EXPECT_TRUE(ExistsAt(deep_ + kLongName)) << step;
    EXPECT_FALSE(ExistsAt(deep_ + L"short.txt")) << step;
  }
  std::wstring near_, deep_;
};

TEST_F(LongPathWindowTest, ALongNameMadeShortIsPreviewedExecutedAndUndone) {
  OpenWithDeepTree();
  Click(IDC_MODE_BUTTON_FIRST + kModeReplace - 1);
  SetDlgItemTextW(Parts().dialog, IDC_REPLACE_FROM, std::wstring(150, L'n').c_str());
  SetDlgItemTextW(Parts().dialog, IDC_REPLACE_TO, L"short");
  FocusList();
  Key(VK_RETURN);
  ExpectShortNamesPreviewed();
  ExpectOnDisk(false, "after the preview");
  Key(VK_RETURN);
  ExpectOnDisk(true, "after the execution");
  Key('B', true);  // the newest log
  ASSERT_TRUE(Work().UndoMode());
  ASSERT_EQ(1u, Work().list.Count());  // the one rename of the log
  Click(IDC_EXECUTE);
  ExpectOnDisk(false, "after the undo");
}

TEST_F(LongPathWindowTest, ACsvFileSavedAndReadBackKeepsTheLongFolders) {
  OpenWithDeepTree();
  Work().list.Row(0).newName = L"short.txt";
  Work().list.Row(1).newName = L"short.txt";
  SaveAllAndReadBack(files / L"list.csv");
  ASSERT_EQ(kModeCsvNames, Work().Mode());
  EXPECT_EQ(near_, Work().list.Row(0).folder);
  EXPECT_EQ(deep_, Work().list.Row(1).folder);
  Key(VK_RETURN);
  ExpectShortNamesPreviewed();
  Key(VK_RETURN);
  ExpectOnDisk(true, "after the execution from the CSV file");
}

TEST_F(LongPathWindowTest, NamesTypedInTheTextEditorAreExecuted) {
  OpenWithDeepTree();
  {
    DialogAnswers editor;
    editor.Expect(L"the text editor dialog", [](HWND dialog) {
      if (!HasControl(dialog, IDC_EDIT_NEW)) return false;
      SetDlgItemTextW(dialog, IDC_EDIT_NEW, L"short.txt\r\nshort.txt\r\n");
      SendMessageW(dialog, WM_COMMAND, IDC_EDIT_APPLY, 0);
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
    Key('E', true);
  }
  ExpectShortNamesPreviewed();
  FocusList();
  Key(VK_RETURN);
  ExpectOnDisk(true, "after the execution of the typed names");
}

}  // namespace
}  // namespace korval
