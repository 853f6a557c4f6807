#include "config/input_history.h"

#include <gtest/gtest.h>

#include "config/settings.h"
#include "testing/test_stores.h"

namespace korval {
namespace {

TEST(InputHistory, SplitIgnoresEmptyEntries) {
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"b c"}), SplitHistory(L"a||||b c||"));
  EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), SplitHistory(L"a||b"));
  EXPECT_TRUE(SplitHistory(L"").empty());
  EXPECT_TRUE(SplitHistory(L"||").empty());
}

TEST(InputHistory, SimpleHistoriesStayWithin255StoredCharacters) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  std::vector<std::wstring> entries;
  for (int i = 0; i < 30; ++i) entries.push_back(std::wstring(20, static_cast<wchar_t>(L'a' + i % 26)));
  WriteHistory(store, L"addstr", entries);
  const std::vector<std::wstring> back = ReadHistory(store, L"addstr");
  ASSERT_EQ(11u, back.size());  // 11 x 22 = 242; a twelfth would make 264
  for (size_t i = 0; i < back.size(); ++i) EXPECT_EQ(entries[i], back[i]);
  // Escapes count: an entry whose escaped form does not fit is left out whole.
  WriteHistory(store, L"extstr", {std::wstring(40, L'\u00e9'), L"x"});  // 240 + 2 stored characters
  EXPECT_EQ((std::vector<std::wstring>{std::wstring(40, L'\u00e9'), L"x"}), ReadHistory(store, L"extstr"));
  WriteHistory(store, L"extstr", {L"x", std::wstring(42, L'\u00e9')});
  EXPECT_EQ((std::vector<std::wstring>{L"x"}), ReadHistory(store, L"extstr"));
}

TEST(InputHistory, ReplacementHistoriesSpreadOverEightKeys) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  std::vector<std::wstring> from, to;
  for (int i = 0; i < 64; ++i) {
    from.push_back(L"search" + std::to_wstring(i) + std::wstring(25, L'\u00e9'));  // 150+ stored characters
    to.push_back(L"\u3042" + std::to_wstring(i));
  }
  WriteReplaceHistories(store, from, to);
  for (int piece = 1; piece <= 7; ++piece) {
    EXPECT_EQ(255u, store.ReadText((L"replacefrom" + std::to_wstring(piece)).c_str(), L"").size()) << piece;
  }
  EXPECT_FALSE(store.ReadText(L"replacefrom8", L"").empty());
  std::vector<std::wstring> backFrom, backTo;
  ReadReplaceHistories(store, backFrom, backTo);
  ASSERT_FALSE(backFrom.empty());
  ASSERT_LT(backFrom.size(), from.size());
  for (size_t i = 0; i < backFrom.size(); ++i) EXPECT_EQ(from[i], backFrom[i]) << i;  // the last one is whole
  EXPECT_EQ(to, backTo);
  EXPECT_EQ(L"", store.ReadText(L"replace1str", L"x"));
}

TEST(InputHistory, LegacyReplacementKeysAreReadOnlyWhenThePiecesAreEmpty) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  store.WriteText(L"replace1str", L"old1||old2||");
  store.WriteText(L"replace2str", L"new1||new2||");
  std::vector<std::wstring> from, to;
  ReadReplaceHistories(store, from, to);
  EXPECT_EQ((std::vector<std::wstring>{L"old1", L"old2"}), from);
  EXPECT_EQ((std::vector<std::wstring>{L"new1", L"new2"}), to);
  store.WriteText(L"replacefrom1", L"cur||");
  ReadReplaceHistories(store, from, to);
  EXPECT_EQ((std::vector<std::wstring>{L"cur"}), from);
  EXPECT_TRUE(to.empty());
}

TEST(InputHistory, SwitchedOffHistoriesAreNotWrittenAndTheFilterKeepsItsFirstEntry) {
  IniProgramFolder program;
  const SettingsStore store = program.Store();
  Settings s;
  LoadSettings(store, WindowsVersion{}, s);
  s.filterHistory = {kFilterHistoryFirst, L"*.jpg"};
  s.addHistory = {L"_copy"};
  s.replaceFromHistory = {L"a"};
  s.inputlog = 255 & ~kLogOther;
  SaveSettings(store, s, SaveReason::Exit, true);
  Settings back;
  LoadSettings(store, WindowsVersion{}, back);
  EXPECT_EQ(s.filterHistory, back.filterHistory);
  EXPECT_EQ(s.replaceFromHistory, back.replaceFromHistory);
  EXPECT_TRUE(back.addHistory.empty());
  // A stored filter history without the first entry gets it back.
  store.WriteText(L"lfiltstr", L"*.png||");
  LoadSettings(store, WindowsVersion{}, back);
  EXPECT_EQ((std::vector<std::wstring>{kFilterHistoryFirst, L"*.png"}), back.filterHistory);
}

}  // namespace
}  // namespace korval
