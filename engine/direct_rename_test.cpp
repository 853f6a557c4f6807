#include "engine/direct_rename.h"

#include <gtest/gtest.h>

#include "engine/show_message.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

class DirectRenameTest : public testing::Test {
 protected:
  void SetUp() override {
    SetMessagePolicy({});
    dir_.WriteFile(L"photo.jpg", "p");
    list_.Append({L"photo.jpg", L".jpg", dir_.Path(), L"", L"", L"", ItemStatus::Ready, false});
  }
  TempFolder dir_;
  RenameList list_;
  ScriptedMessageSink sink_;
};

TEST_F(DirectRenameTest, AskedThenRenamedWithTheRowFollowing) {
  EXPECT_TRUE(FinishDirectRename(list_, 0, L"Trip 01.jpeg", SystemFileSystem(), L""));
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(L"photo.jpg → Trip 01.jpeg\n\n直接リネームの場合はUnDoできません。リネームしてよろしいですか。",
            sink_.requests[0].text);
  EXPECT_EQ(L"Rename it now?", sink_.requests[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION), sink_.requests[0].style);
  EXPECT_TRUE(dir_.Exists(L"Trip 01.jpeg"));
  EXPECT_EQ(L"Trip 01.jpeg", list_.Row(0).oldName);
  EXPECT_EQ(L".jpeg", list_.Row(0).extension);
  EXPECT_EQ(ItemStatus::Ready, list_.Status(0));  // the filter only writes rows that enter or leave it
}

TEST_F(DirectRenameTest, CancelSameNameAndTooLongChangeNothing) {
  sink_.Answer(IDCANCEL);
  EXPECT_FALSE(FinishDirectRename(list_, 0, L"other.jpg", SystemFileSystem(), L""));
  EXPECT_FALSE(FinishDirectRename(list_, 0, L"photo.jpg", SystemFileSystem(), L""));
  EXPECT_EQ(1u, sink_.requests.size());
  EXPECT_FALSE(FinishDirectRename(list_, 0, std::wstring(260 - dir_.Path().size(), L'x'), SystemFileSystem(),
                                  L""));
  ASSERT_EQ(2u, sink_.requests.size());
  EXPECT_EQ(L"ファイル名が長すぎます。", sink_.requests[1].text);
  EXPECT_EQ(L"Too Long", sink_.requests[1].caption);
  EXPECT_TRUE(dir_.Exists(L"photo.jpg"));
  EXPECT_EQ(L"photo.jpg", list_.Row(0).oldName);
}

TEST_F(DirectRenameTest, FailureIsSaidAndCaseOnlyChangesWork) {
  dir_.WriteFile(L"taken.jpg", "t");
  EXPECT_FALSE(FinishDirectRename(list_, 0, L"taken.jpg", SystemFileSystem(), L""));
  ASSERT_EQ(2u, sink_.requests.size());
  EXPECT_EQ(L"ファイル名を変更できませんでした。", sink_.requests[1].text);
  EXPECT_EQ("t", dir_.ReadFile(L"taken.jpg"));
  EXPECT_TRUE(FinishDirectRename(list_, 0, L"PHOTO.JPG", SystemFileSystem(), L""));
  WIN32_FIND_DATAW found;
  ASSERT_TRUE(SystemFileSystem().Find((dir_ / L"photo.jpg").c_str(), &found));
  EXPECT_STREQ(L"PHOTO.JPG", found.cFileName);
}

TEST_F(DirectRenameTest, OffInUndoModeAndTheFilterFollows) {
  list_.undoMode = true;
  EXPECT_FALSE(CanStartDirectRename(list_, 0));
  EXPECT_FALSE(FinishDirectRename(list_, 0, L"x.jpg", SystemFileSystem(), L""));
  list_.undoMode = false;
  EXPECT_FALSE(CanStartDirectRename(list_, 1));
  EXPECT_TRUE(FinishDirectRename(list_, 0, L"x.png", SystemFileSystem(), L"*.jpg"));
  EXPECT_EQ(ItemStatus::Filtered, list_.Status(0));
}

}  // namespace
}  // namespace korval
