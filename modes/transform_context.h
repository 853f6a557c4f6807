// What a transform may use besides the source path: the mode parameters, the list target, the
// file system, and the state that lives for one run.
#pragma once

#include <string>

#include "modes/mode_params.h"
#include "modes/quicktime_date.h"
#include "platform/file_system.h"

namespace korval {

class FolderCounterTable;  // serial numbers per folder, one table per run
struct DateRun;            // the date record shared by the rows of a run (dates in names)
struct TimestampRun;       // the base time of a time stamp run
class RegexBinding;        // the regular expression library of a replacement run
class RowTags;             // the tags of the row being named

struct TransformContext {
  const ModeParams* params = nullptr;
  int fileDir = 0;  // 0: the list holds files; 1: folders (a name is one piece)
  FileSystem* fs = &SystemFileSystem();
  // The row's item as it is on disk (folder + old name); empty when it is the source path. During
  // macro playback the source path carries the name of the step before, which is not on disk yet.
  std::wstring itemPath;
  std::wstring timezone = kSystemTimeZone;  // the `timezone` setting: the time zone of movie times
  FolderCounterTable* folderCounters = nullptr;
  DateRun* dateRun = nullptr;
  TimestampRun* timestampRun = nullptr;
  RegexBinding* regex = nullptr;
  RowTags* tags = nullptr;
};

}  // namespace korval
