// The steps of one preview or execution pass (ExecuteChanges): what the pass keeps from its start to
// its end, and the functions that prepare it, compute and change each row, and finish it.
#pragma once

#include <string>

#include "engine/change_log.h"
#include "engine/collision.h"
#include "engine/execute_changes.h"
#include "engine/path_existence.h"
#include "engine/rename_one.h"
#include "engine/timestamp_mode.h"
#include "modes/date_time.h"
#include "modes/regex_binding.h"
#include "modes/serial_number.h"
#include "modes/tags_in_names.h"
#include "modes/transform_context.h"

namespace korval {

// Everything one pass keeps from its start to its end.
struct Pass {
  Pass(RunKind k, ExecuteContext& context, RunState& s)
      : kind(k), c(context), state(s), list(*context.list), fs(*context.fs), o(context.options), mode(context.mode),
        folderCounters(context.list->Count()), rowTags(context.tagCache), log(*context.fs), snapshot(*context.fs),
        existence(k != RunKind::Execute && context.keptListings ? static_cast<PathExistence&>(*context.keptListings)
                                                                 : snapshot) {}

  RunKind kind;
  ExecuteContext& c;
  RunState& state;
  RenameList& list;
  FileSystem& fs;
  const ExecuteOptions& o;
  const int mode;
  RunReport report;

  ModeParams localParams;
  PanelValues emptyPanel;
  DateRun dateRun;
  FolderCounterTable folderCounters;
  TimestampRun timestampRun;
  RegexBinding regex;
  RowTags rowTags;
  TransformContext transform;
  ListAfterRun after = ListAfterRun::Keep;
  bool computeNames = false;
  int rowCounter = 0;
  bool macroRead = false;

  ChangeLog log;
  bool logBroken = false;
  CollisionTable collisions;
  CollisionOptions collisionOptions;
  RenameOneOptions renameOptions;
  // What the disk holds: for a preview as it was; for an execution as this pass's renames made it.
  FolderSnapshot snapshot;
  // What a preview asks whether a name is taken: the kept listings where the window has them.
  PathExistence& existence;
  int shownPercent = -1;

  // What the row being changed met, for the record: why it was not changed, the system's error of
  // a failed change, or that there was nothing to change.
  std::wstring rowReason;
  DWORD rowError = 0;
  std::wstring rowFailReason;  // said instead of the system's error text when there is one
  bool rowFailed = false;
  bool rowUnchanged = false;
};

// How the change of one row ended for the pass.
enum class RowEnd { Changed, NotChanged, Skipped, NothingToDo, StopPass, StopAfterFailure };

// A path cut to the longest the program keeps.
std::wstring CutToPath(std::wstring text);
void Progress(const ExecuteContext& c, int percent);
// The progress of row done of count, told to the window only when its whole percent changes.
void Progress(Pass& s, size_t done, size_t count);
// A changed row becomes a fresh row for the next change.
void MakeFreshRow(RenameItem& row, const std::wstring& path);

// Reads the mode parameters, binds what the mode needs and opens the change log. False when the
// pass is refused before its first row (the user was told why).
bool PreparePass(Pass& s);
// Computes the row's source and target paths (and its new name when the pass computes names). False
// when the macro of a macro preview cannot be read: the pass ends.
bool PreviewRow(Pass& s, RenameItem& row, std::wstring& source, std::wstring& target);
// Decides whether the row is changed (its status, a name collision, the per-row question) and changes
// it, its line in the change log included. A collision serial rewrites target.
RowEnd ExecuteRow(Pass& s, size_t p, const std::wstring& source, std::wstring& target);
// What becomes of the row after its change: dropped (true; the rows leave the list together after the
// pass), or kept and marked (and made fresh for the next change).
bool SettleRow(Pass& s, RenameItem& row, bool changed, bool filtered, const std::wstring& source,
               const std::wstring& target);
// The record of an execution: what became of row p (before it is settled), the rows the pass never
// reached, and a serial taken off again at the end.
void RecordRow(Pass& s, size_t p, const RenameItem& row, RowEnd end, const std::wstring& source,
               const std::wstring& target);
void RecordRowsNotReached(Pass& s);
void RecordSerialTakenOff(Pass& s, const CollisionEntry& entry);

// The serial clean-up, the messages after the last row, the log's rotation and the state for the next
// pass.
void FinishPass(Pass& s);

}  // namespace korval
