// The benchmark's section on the main window: start-up time, and the window's answers while it reads
// a large tree handed on the command line.
#pragma once

#include <cstddef>

namespace korval {

void BenchWindowStart(size_t files);

}  // namespace korval
