#include "filelist/shortcut.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "filelist/list_reader.h"
#include "testing/reader_test_tree.h"
#include "testing/scripted_message_sink.h"
#include "testing/shortcut_file.h"

namespace korval {
namespace {

// COM for the test's thread, as the program's window thread has it.
class ShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override { comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
  void TearDown() override {
    if (comReady_) CoUninitialize();
  }

  // Saves a shortcut to target under the given name; returns its path.
  std::wstring MakeShortcut(const std::wstring& name, const std::wstring& target) {
    const std::wstring path = temp / name;
    EXPECT_TRUE(SaveShortcut(path, target)) << "no shell link saved";
    return path;
  }

  std::vector<std::wstring> Read(const std::vector<std::wstring>& paths, bool followShortcuts) {
    RenameList list;
    ReadSettings settings;
    settings.shortcutlink = followShortcuts;
    ScriptedMessageSink sink;
    ListReader reader(list, settings);
    reader.ReadDroppedItems(paths);
    std::vector<std::wstring> rows;
    for (const RenameItem& row : list.Rows()) rows.push_back(row.SourcePath());
    return rows;
  }

  TempFolder temp;
  bool comReady_ = false;
};

TEST_F(ShortcutTest, ResolvesTheTargetPath) {
  const std::wstring target = temp.WriteFile(L"target.txt", "t");
  const std::wstring link = MakeShortcut(L"to target.lnk", target);
  std::wstring resolved;
  ASSERT_TRUE(ResolveShortcut(link, resolved));
  EXPECT_EQ(0, _wcsicmp(target.c_str(), resolved.c_str())) << Utf8(resolved);
}

TEST_F(ShortcutTest, WhatIsNotALinkFails) {
  const std::wstring junk = temp.WriteFile(L"junk.lnk", "not a shell link at all");
  std::wstring resolved = L"(untouched)";
  EXPECT_FALSE(ResolveShortcut(junk, resolved));
  EXPECT_EQ(L"", resolved);
  EXPECT_FALSE(ResolveShortcut(temp / L"missing.lnk", resolved));
  EXPECT_FALSE(ResolveShortcut(L"", resolved));
}

TEST_F(ShortcutTest, ReadsFollowLinksOnlyWhenTheRuleIsOn) {
  const std::wstring target = temp.WriteFile(L"target.txt", "t");
  const std::wstring link = MakeShortcut(L"one.lnk", target);
  const std::vector<std::wstring> followed = Read({link}, true);
  ASSERT_EQ(1u, followed.size());
  EXPECT_EQ(0, _wcsicmp(target.c_str(), followed[0].c_str()));
  EXPECT_EQ(std::vector<std::wstring>{link}, Read({link}, false));
}

TEST_F(ShortcutTest, LinksToLinksAndFakeLinksAddNothing) {
  const std::wstring target = temp.WriteFile(L"target.txt", "t");
  const std::wstring first = MakeShortcut(L"first.lnk", target);
  const std::wstring second = MakeShortcut(L"second.lnk", first);
  const std::wstring fake = temp.WriteFile(L"a.lnk.txt", "plain text");  // ".lnk" anywhere counts
  EXPECT_TRUE(Read({second, fake}, true).empty());
  EXPECT_EQ(std::vector<std::wstring>{fake}, Read({fake}, false));
  // ".LNK" is not the shortcut text: the file is listed as it is.
  const std::wstring upper = MakeShortcut(L"UPPER.LNK", target);
  EXPECT_EQ(std::vector<std::wstring>{upper}, Read({upper}, true));
}

TEST_F(ShortcutTest, AFolderReachedThroughALinkIsReadWithItsDepth) {
  MakeTree(temp, {L"F\\", L"F\\in.txt", L"F\\G\\", L"F\\G\\deeper.txt"});
  const std::wstring link = MakeShortcut(L"folder.lnk", temp / L"F");
  // Default depth 1: the link's folder counts one step down, so its own files are already too deep.
  EXPECT_TRUE(Read({link}, true).empty());
}

}  // namespace
}  // namespace korval
