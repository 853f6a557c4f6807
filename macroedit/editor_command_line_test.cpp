// "/macroN" on the editor's command line.
#include "macroedit/editor_command_line.h"

#include <gtest/gtest.h>

#include "testing/temp_folder.h"

namespace korval {
namespace {

TEST(EditorCommandLine, TheSlotAskedFor) {
  struct Case {
    std::vector<std::wstring> arguments;
    int slot;
  } cases[] = {
      {{L"/macro7"}, 7},         {{L"/macro25"}, 25},       {{L"/macro10"}, 10},      {{L"/macro19"}, 19},
      {{L"/macro26"}, 1},        {{L"/macro0"}, 1},         {{L"/macro7a"}, 1},       {{L"/macro07"}, 1},
      {{L"/macro"}, 1},          {{L"/macro100"}, 1},       {{L"/MACRO7"}, 1},        {{}, 1},
      {{L"x", L"/macro9"}, 9},   {{L"x", L"y", L"/macro9"}, 1},                       {{L"/macro3", L"/macro4"}, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.slot, SlotFromArguments(c.arguments)) << (c.arguments.empty() ? "" : Utf8(c.arguments.back()));
  }
}

}  // namespace
}  // namespace korval
