// Every command of the table sent in every state of the window: none crashes, and none acts where
// its guard forbids it (the rows, the files and the window's settings stay as they were).
#include <gtest/gtest.h>

#include "macro/macro_record.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "testing/main_window_test_fixture.h"
#include "ui/recording.h"

namespace korval {
namespace {

enum class State { EmptyList, Rows, UndoMode, Recording, Playback, Automatic };

const char* Name(State s) {
  constexpr const char* kNames[] = {"empty list", "rows", "undo mode", "recording", "playback", "automatic run"};
  return kNames[static_cast<int>(s)];
}

void PrintTo(State s, std::ostream* out) { *out << Name(s); }

std::string TestId(State s) {
  constexpr const char* kIds[] = {"EmptyList", "Rows", "UndoMode", "Recording", "Playback", "Automatic"};
  return kIds[static_cast<int>(s)];
}

// Commands that hand a row's file to other programs (they would start them): sent only where they
// must be refused.
bool StartsOtherPrograms(int id) { return id == IDM_OPEN_ITEM || id == IDM_OPEN_PARENT || id == IDM_PROPERTIES; }

class CommandGuardTest : public MainWindowTest, public testing::WithParamInterface<State> {
 protected:
  void Enter(State state) {
    files.WriteFile(L"a_1.txt", "1");
    files.WriteFile(L"b_2.txt", "2");
    switch (state) {
      case State::EmptyList: Open(); break;
      case State::Rows: Open({files.Path()}); break;
      case State::UndoMode: {
        const std::wstring line = L"\"" + (files / L"x.txt") + L"\",\"" + (files / L"a_1.txt") + L"\",\"<NORMAL>\"\r\n";
        std::string bytes = "\xFF\xFE";
        bytes.append(reinterpret_cast<const char*>(line.data()), line.size() * sizeof(wchar_t));
        program.WriteFile(L"rename1.log", bytes);
        Open({files.Path()});
        SendMessageW(window, WM_COMMAND, IDM_UNDO_MODE, 0);
        ASSERT_TRUE(Work().UndoMode());
        break;
      }
      case State::Recording:
        Open({files.Path()});
        ASSERT_EQ(0, BeginRecording(Work().recorder, 0, RecorderContextFor(Work())));
        break;
      case State::Playback: {
        ModeParams params;
        params.replaceFrom = L"a";
        params.replaceTo = L"b";
        program.WriteFile(L"macro1.bin", "KV150\n" + BuildStepRecord(kModeReplace, params));
        Open({files.Path()});
        SendMessageW(window, WM_COMMAND, IDM_PREVIOUS_MODE, 0);  // the macro mode, last of all
        ASSERT_EQ(kModeMacro, Work().Mode());
        Work().panel.macrono = 0;
        ASSERT_EQ(0, PreviewMacro(Work().commandLine, Work().autoWork, false));
        ASSERT_TRUE(Work().Playing());
        break;
      }
      case State::Automatic: Open({L"/show", L"/noexit", L"/test", L"/autoattr1---", files.Path()}); break;
    }
  }

  bool Forbidden(unsigned guards) const {
    const Workspace& w = Work();
    return ((guards & kNotInUndoMode) && w.UndoMode()) || ((guards & kNotRecording) && w.Recording()) ||
           ((guards & kNotAutomatic) && w.Automatic());
  }

  // What a refused command must leave as it was.
  std::wstring Fingerprint() const {
    const Workspace& w = Work();
    std::wstring print = Rows();
    for (const RenameItem& row : w.list.Rows()) print += std::to_wstring(static_cast<int>(row.status)) + (row.selected ? L"s" : L"");
    for (const std::wstring& name : SortedNames(files.Path())) print += L"/" + name;
    const Settings& s = w.settings;
    for (int value : {w.modeIndex, s.dispcontrols, s.topmost, s.file_dir, s.inputlog, w.UndoMode() ? 1 : 0}) {
      print += L"," + std::to_wstring(value);
    }
    return print;
  }

  void Send(int id, Dispatch expected) {
    const std::wstring before = Fingerprint();
    const Dispatch result = DispatchCommand(Work(), Parts(), id);
    MSG close;
    PeekMessageW(&close, window, WM_CLOSE, WM_CLOSE, PM_REMOVE);  // "終了" closes nothing here
    EXPECT_EQ(expected, result) << "command " << id << " in " << Name(GetParam());
    if (expected != Dispatch::Done) {
      EXPECT_EQ(Utf8(before), Utf8(Fingerprint())) << "command " << id << " in " << Name(GetParam());
    }
  }
};

TEST_P(CommandGuardTest, EveryCommandActsOnlyWhereItsGuardsAllow) {
  DialogAnswers closer;
  closer.AnswerEvery(CancelDialog);
  Enter(GetParam());
  // First every command that must not act here, while the state still holds ...
  for (const CommandRow& row : CommandTable()) {
    for (int id = row.first; id <= row.last; ++id) {
      if (Work().Playing()) {
        Send(id, Dispatch::Ignored);
      } else if (Forbidden(row.guards)) {
        Send(id, Dispatch::Refused);
      }
    }
  }
  if (Work().Playing()) return;
  // ... then all the others, which may change the state as they act.
  for (const CommandRow& row : CommandTable()) {
    for (int id = row.first; id <= row.last; ++id) {
      if (StartsOtherPrograms(id) || Work().Playing() || Work().busy) continue;
      if (!Forbidden(row.guards)) {
        DispatchCommand(Work(), Parts(), id);
        MSG close;
        PeekMessageW(&close, window, WM_CLOSE, WM_CLOSE, PM_REMOVE);
      }
    }
  }
  EXPECT_TRUE(IsWindow(window));
}

INSTANTIATE_TEST_SUITE_P(States, CommandGuardTest,
                         testing::Values(State::EmptyList, State::Rows, State::UndoMode, State::Recording,
                                         State::Playback, State::Automatic),
                         [](const testing::TestParamInfo<State>& info) { return TestId(info.param); });

}  // namespace
}  // namespace korval
