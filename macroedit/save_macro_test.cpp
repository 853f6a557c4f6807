// Saving the step list into a slot, and reading slots back, on real files.
#include "macroedit/save_macro.h"

#include <gtest/gtest.h>

#include <random>

#include "macroedit/slot_files.h"
#include "macroedit/step_description.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"
#include "tests/macro_bytes.h"

namespace korval {
namespace {

StepRow Described(char d0, char d1, char d2, int code, const std::wstring& a, const std::wstring& b = L"") {
  StepRow row;
  DescribeStep(d0, d1, d2, code, a, b, row.mode, row.setting, row.setting2);
  return row;
}

class SaveMacroTest : public testing::Test {
 protected:
  // Answers the naming dialog with the slot index and name, and remembers what it was shown.
  AskSaveName Namer(int slotIndex, const std::wstring& name) {
    return [this, slotIndex, name](SaveNameData& data) {
      shownSlot_ = data.slotIndex;
      data.slotIndex = slotIndex;
      data.name = name;
      return true;
    };
  }

  TempFolder folder_;
  ScriptedMessageSink sink_;
  MacroSlotNames names_ = UnregisteredSlots();
  int shownSlot_ = -1;
};

TEST_F(SaveMacroTest, RowsAreSavedIntoTheChosenSlotAndNamed) {
  folder_.WriteFile(L"macro4.bin", "old");
  const StepRows rows{Described('0', '0', '2', 8, L"_", L" "), Described('4', '0', '0', 2, L"")};
  const SaveOutcome outcome = SaveRowsAsMacro(rows, folder_.Path(), 2, names_, Namer(3, L"空白に"));
  ASSERT_TRUE(outcome.saved);
  EXPECT_EQ(1, shownSlot_);
  EXPECT_EQ(4, outcome.slot);
  EXPECT_EQ(L"マクロNo.04　Ver 1.5", outcome.status);
  const std::string expected = "KV150\n" + Record("REP", "002", "_", " ") + Record("Aa ", "400", "", "");
  EXPECT_EQ(expected, folder_.ReadFile(L"macro4.bin"));
  EXPECT_EQ(expected, folder_.ReadFile(L"macro0.bin"));
  EXPECT_EQ("4:\x8b\xf3\x94\x92\x82\xc9\n", folder_.ReadFile(L"macro.lst"));
  EXPECT_EQ(L"空白に", names_[3]);
  EXPECT_TRUE(sink_.requests.empty());
  EXPECT_FALSE(folder_.Exists(L"macro4.bin.tmp"));
}

TEST_F(SaveMacroTest, TheUnregisteredTextBecomesANumberedName) {
  folder_.WriteFile(L"macro.lst", "1:first\n");
  names_[0] = L"first";
  ASSERT_TRUE(SaveRowsAsMacro({Described('0', '0', '0', 4, L"")}, folder_.Path(), 1, names_,
                              Namer(11, kUnregisteredSlotText))
                  .saved);
  EXPECT_EQ("1:first\n12:macro_12\n", folder_.ReadFile(L"macro.lst"));
}

TEST_F(SaveMacroTest, ARowWithABadValueIsSkippedWithItsRowNumber) {
  const StepRows rows{Described('0', '0', '0', 0, L"a"), Described('9', '0', '0', 0, L"b"),
                      Described('1', '0', '0', 0, L"c")};
  ASSERT_TRUE(SaveRowsAsMacro(rows, folder_.Path(), 1, names_, Namer(0, L"x")).saved);
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(L"2 行目は値が不正なため、保存されません。", sink_.requests[0].text);
  EXPECT_EQ(L"invalid value", sink_.requests[0].caption);
  EXPECT_EQ("KV150\n" + Record("EXT", "000", "a", "") + Record("EXT", "100", "c", ""),
            folder_.ReadFile(L"macro1.bin"));
}

TEST_F(SaveMacroTest, SavesThatEndWithoutTouchingTheSlot) {
  struct Case {
    const char* what;
    StepRows rows;
    bool named;
    const wchar_t* message;
  } cases[] = {
      {"an empty list", {}, true, L"保存するものがありません。"},
      {"only bad rows", {Described('9', '0', '0', 0, L"b")}, true, L"保存するものがありません。"},
      {"an unknown mode", {Described('0', '0', '0', 0, L"a"), StepRow{L"属性", L"[0,0,0] ", L"", {}}}, true,
       L"2 行目の書式が不正なため、保存出来ません。"},
      {"no name", {Described('0', '0', '0', 0, L"a")}, false, L"名前が付けられなかったためマクロを保存しませんでした。"},
  };
  for (Case& c : cases) {
    folder_.WriteFile(L"macro1.bin", "untouched");
    sink_.requests.clear();
    const AskSaveName ask = c.named ? Namer(0, L"x") : AskSaveName([](SaveNameData&) { return false; });
    EXPECT_FALSE(SaveRowsAsMacro(c.rows, folder_.Path(), 1, names_, ask).saved) << c.what;
    EXPECT_EQ("untouched", folder_.ReadFile(L"macro1.bin")) << c.what;
    ASSERT_FALSE(sink_.requests.empty()) << c.what;
    EXPECT_EQ(c.message, sink_.requests.back().text) << c.what;
    EXPECT_FALSE(folder_.Exists(L"macro.lst")) << c.what;
  }
}

TEST_F(SaveMacroTest, ASlotFileThatCannotBeReplacedIsToldAndNothingIsRenamed) {
  ASSERT_TRUE(CreateDirectoryW((folder_ / L"macro2.bin").c_str(), nullptr));
  EXPECT_FALSE(SaveRowsAsMacro({Described('0', '0', '0', 4, L"")}, folder_.Path(), 1, names_, Namer(1, L"x")).saved);
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(L"cannot write macro file", sink_.requests[0].caption);
  EXPECT_EQ(kUnregisteredSlotText, names_[1]);
  EXPECT_FALSE(folder_.Exists(L"macro.lst"));
  EXPECT_FALSE(folder_.Exists(L"macro2.bin.tmp"));
}

TEST_F(SaveMacroTest, AFullFileKeepsTheRowsWrittenSoFar) {
  // Each record of 250 search characters takes 259 bytes: appends go on while the file is below
  // 64736 bytes, so 250 of them are written.
  StepRows rows(300, Described('0', '0', '2', 8, std::wstring(250, L'x'), L""));
  ASSERT_TRUE(SaveRowsAsMacro(rows, folder_.Path(), 1, names_, Namer(0, L"big")).saved);
  ASSERT_EQ(1u, sink_.requests.size());
  EXPECT_EQ(L"Macro File Size Exceeded", sink_.requests[0].caption);
  const std::string saved = folder_.ReadFile(L"macro1.bin");
  EXPECT_EQ(6u + 250u * 259u, saved.size());
}

TEST_F(SaveMacroTest, ASlotIsReadIntoRowsWithItsStatus) {
  folder_.WriteFile(L"macro3.bin", "KV140\n" + Record("DEL", ":12", "7", "") + Record("RND", "330", "", ""));
  const SlotContents contents = LoadSlot(folder_.Path(), 3);
  ASSERT_TRUE(contents.readable);
  EXPECT_FALSE(contents.broken);
  EXPECT_EQ(L"マクロNo.03　Ver 1.4", contents.status);
  ASSERT_EQ(2u, contents.rows.size());
  EXPECT_EQ(L"[:,1,2] (指定文字数より後＿文字分 を削除 : 12 文字)", contents.rows[0].setting);
  EXPECT_EQ(L"7", contents.rows[0].deleteSecondCount);

  EXPECT_FALSE(LoadSlot(folder_.Path(), 4).readable);
  folder_.WriteFile(L"macro5.bin", "garbage");
  const SlotContents broken = LoadSlot(folder_.Path(), 5);
  EXPECT_TRUE(broken.broken);
  EXPECT_EQ(L"マクロNo.05　*** 破損 ***", broken.status);
}

TEST_F(SaveMacroTest, CutOversizedAndRandomFilesOpenAndStayAsTheyWere) {
  const std::string good = "KV150\n" + Record("REP", "113", "(a+)", "$1") + Record("EDT", "", "", "");
  std::vector<std::string> files;
  for (size_t cut = 0; cut < good.size(); cut += 3) files.push_back(good.substr(0, cut));
  files.push_back("KV150\n" + std::string(70000, 'A'));
  files.push_back("KV150\n" + std::string(70000, '\0'));
  std::mt19937 random(14);
  for (int i = 0; i < 40; ++i) {
    std::string bytes = i % 2 ? good : "";
    bytes.resize(random() % 2000);
    for (char& c : bytes) {
      if (random() % 4 == 0 || i % 2 == 0) c = static_cast<char>(random());
    }
    files.push_back(bytes);
  }
  for (const std::string& bytes : files) {
    folder_.WriteFile(L"macro7.bin", bytes);
    folder_.WriteFile(L"macro.lst", bytes);
    const SlotContents contents = LoadSlot(folder_.Path(), 7);
    EXPECT_TRUE(contents.readable);
    for (const StepRow& row : contents.rows) EXPECT_LE(row.setting.size(), kStepColumnChars);
    EXPECT_EQ(bytes, folder_.ReadFile(L"macro7.bin"));
    EXPECT_EQ(bytes, folder_.ReadFile(L"macro.lst"));
  }
}

}  // namespace
}  // namespace korval
