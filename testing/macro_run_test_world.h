// A program folder and a work folder of real files, with the rename list, the mode panel and the
// executor's context as the window keeps them, for recording and playback tests.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine/execute_changes.h"
#include "testing/quiet_context.h"
#include "engine/show_message.h"
#include "testing/temp_folder.h"

namespace korval {

class MacroWorld {
 public:
  explicit MacroWorld(const std::vector<std::wstring>& names) {
    SetMessagePolicy({});
    CreateDirectoryW((program / L"work").c_str(), nullptr);
    work = program / L"work\\";
    for (const std::wstring& name : names) {
      program.WriteFile(L"work\\" + name, "x");
      const size_t dot = name.rfind(L'.');
      list.Append({name, dot == std::wstring::npos ? L"" : name.substr(dot), work, L"", L"", L"", ItemStatus::None, false});
    }
  }

  ExecuteContext Context(int mode) {
    ExecuteContext c = QuietContext(list, panel, params, state, program.Path(), mode);
    c.options = options;
    return c;
  }

  // The names in the work folder, sorted.
  std::vector<std::wstring> Names() const { return SortedNames(work); }

  TempFolder program;
  std::wstring work;
  RenameList list;
  PanelValues panel;
  ModeParams params;
  RunState state;
  ExecuteOptions options = [] {
    ExecuteOptions o;
    o.chgconfirm = 0;
    o.del = 2;
    return o;
  }();
};

}  // namespace korval
