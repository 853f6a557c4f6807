// The executor's context as tests and the benchmark set it up: no questions before the run, the
// rows kept (marked) afterwards, the input histories left alone.
#pragma once

#include <string>

#include "engine/execute_changes.h"

namespace korval {

inline ExecuteContext QuietContext(RenameList& list, PanelValues& panel, ModeParams& params, RunState& state,
                                   const std::wstring& programFolder, int mode) {
  ExecuteContext c;
  c.list = &list;
  c.mode = mode;
  c.panel = &panel;
  c.params = &params;
  c.histories.switches = 0;
  c.state = &state;
  c.programFolder = programFolder;
  c.options.chgconfirm = 0;
  c.options.del = 2;
  return c;
}

}  // namespace korval
