// Items whose paths run past 259 characters, Japanese parts among them: previewed, renamed, logged
// and undone like any other where the system takes long paths; where it does not, a new path of 256
// characters or more is TooLong and a rename that makes the path short enough goes through.
#include <gtest/gtest.h>

#include "engine/execute_changes.h"
#include "engine/show_message.h"
#include "engine/undo.h"
#include "modes/change_mode.h"
#include "platform/system_path.h"
#include "testing/deep_tree.h"
#include "testing/quiet_context.h"
#include "testing/scripted_message_sink.h"
#include "testing/temp_folder.h"

namespace korval {
namespace {

bool ExistsAt(const std::wstring& path) {
  return GetFileAttributesW(SystemPath(path.c_str()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(LongPaths, RenamedLoggedAndUndoneWhereTheSystemTakesThem) {
  const struct {
    size_t length;  // of the folder
    wchar_t fill;
    size_t partChars;
    bool longPaths;
    const wchar_t* replaceTo;
    ItemStatus status;
  } cases[] = {
      {300, L'd', 60, true, L"after", ItemStatus::Ready},
      {1000, L'長', 85, true, L"after", ItemStatus::Ready},
      {3000, L'x', 200, true, L"after", ItemStatus::Ready},
      {300, L'd', 60, false, L"after", ItemStatus::TooLong},
      {1000, L'長', 85, false, L"after", ItemStatus::TooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << (c.longPaths ? " with" : " without") << " long paths");
    TempFolder program;
    const std::wstring folder = MakeDeepFolder(program.Path(), c.length, c.fill, c.partChars);
    ASSERT_EQ(c.length, folder.size());
    HANDLE file = CreateFileW(SystemPath((folder + L"before.txt").c_str()).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    RenameList list;
    list.Append({L"before.txt", L".txt", folder, L"", L"", L"", ItemStatus::None, false});
    PanelValues panel;
    panel.replaceFrom = L"before";
    panel.replaceTo = c.replaceTo;
    ModeParams params;
    RunState state;
    ExecuteContext context = QuietContext(list, panel, params, state, program.Path(), kModeReplace);
    context.options.longPaths = c.longPaths;
    SetMessagePolicy({true, false, false, false});
    ScriptedMessageSink sink;
    ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, context));
    EXPECT_EQ(L"after.txt", list.Row(0).newName);
    EXPECT_EQ(c.status, list.Row(0).status);
    RunReport run;
    ASSERT_EQ(0, ExecuteChanges(RunKind::Execute, context, &run));
    const bool renamed = c.status == ItemStatus::Ready;
    EXPECT_EQ(renamed ? 1 : 0, run.changed);
    EXPECT_EQ(renamed, ExistsAt(folder + L"after.txt"));
    EXPECT_NE(renamed, ExistsAt(folder + L"before.txt"));
    if (!renamed) continue;
    RenameList undo;
    ASSERT_EQ(UndoLoadResult::Loaded, LoadUndoList(undo, program.Path(), 1, {}));
    ASSERT_EQ(1u, undo.Count());
    EXPECT_EQ(1, RunUndo(undo, true, {}, SystemFileSystem(), {}).undone);
    EXPECT_TRUE(ExistsAt(folder + L"before.txt"));
    EXPECT_FALSE(ExistsAt(folder + L"after.txt"));
  }
}

// Where the system does not take long paths, an item already that long is renamed when its new
// path is short enough: the way a user repairs it.
TEST(LongPaths, ALongNameRenamedShortBringsItsPathBackWithinTheLimit) {
  TempFolder program;
  const std::wstring folder = MakeDeepFolder(program.Path(), 100, L'f', 60);
  ASSERT_EQ(100u, folder.size());
  const std::wstring longName = std::wstring(240, L'n') + L".txt";  // ext4 holds 255 bytes a name
  HANDLE file = CreateFileW(SystemPath((folder + longName).c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  RenameList list;
  list.Append({longName, L".txt", folder, L"", L"", L"", ItemStatus::None, false});
  PanelValues panel;
  panel.replaceFrom = L"^n+";
  panel.replaceTo = L"short";
  panel.regexp = 1;
  ModeParams params;
  RunState state;
  ExecuteContext context = QuietContext(list, panel, params, state, program.Path(), kModeReplace);
  SetMessagePolicy({true, false, false, false});
  ScriptedMessageSink sink;
  ASSERT_EQ(0, ExecuteChanges(RunKind::Preview, context));
  EXPECT_EQ(L"short.txt", list.Row(0).newName);
  EXPECT_EQ(ItemStatus::Ready, list.Row(0).status);
  RunReport run;
  ASSERT_EQ(0, ExecuteChanges(RunKind::Execute, context, &run));
  EXPECT_EQ(1, run.changed);
  EXPECT_TRUE(ExistsAt(folder + L"short.txt"));
  EXPECT_FALSE(ExistsAt(folder + longName));
}

}  // namespace
}  // namespace korval
