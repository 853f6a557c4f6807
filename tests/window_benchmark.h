// The benchmark's section on the main window: start-up time, and the window's answers while it reads
// a large tree handed on the command line.
#pragma once

#include <cstddef>
#include <string>

namespace korval {

void BenchWindowStart(size_t files);
// The start alone: the empty window against the smallest Win32 program, quiet and beside a busy core.
void BenchProgramStart();
// The files below folder (ending with a backslash), counted by a bare find-first/next walk.
size_t BareWalk(const std::wstring& folder);

}  // namespace korval
