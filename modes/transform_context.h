// What a transform may use besides the source path: the mode parameters, the list target, the
// file system, and the state that lives for one run.
#pragma once

#include <string>

#include "modes/mode_params.h"
#include "platform/file_system.h"

namespace korval {

class FolderCounterTable;  // serial numbers per folder, one table per run

struct TransformContext {
  const ModeParams* params = nullptr;
  int fileDir = 0;  // 0: the list holds files; 1: folders (a name is one piece)
  FileSystem* fs = &SystemFileSystem();
  FolderCounterTable* folderCounters = nullptr;
};

}  // namespace korval
