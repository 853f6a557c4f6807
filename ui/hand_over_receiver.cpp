// Reading, keeping and counting the paths a second start hands over.
#include "ui/hand_over_receiver.h"

#include <string>
#include <vector>

#include "config/hand_over.h"
#include "engine/list_filter.h"
#include "ui/close_request.h"
#include "ui/status_bar.h"
#include "ui/timers.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

constexpr UINT kHeldCheckMs = 100;

// Whether a path can go into the list now: no pass is reading or renaming the rows, and no box of
// one is waiting for its answer.
bool FreeToRead(const Workspace& work, const Frame& frame) {
  return !work.run.passRunning && !HandlingInsideAnother(frame) && !work.UndoMode() && !work.Playing();
}

void TellNotTaken(Workspace& work, const Frame& frame, size_t count) {
  if (count == 0) return;
  work.pathsNotTaken = count;
  ShowStatusHint(work, frame, kHintPathsNotTaken);
}

// After paths were read: the longest-name box, the ChangedOnly filter and the rows.
void ShowReadPaths(Workspace& work, Frame& frame) {
  SetPositionSample(work, frame);
  ApplyFilter(work.list, FilterKind::ChangedOnly, work.panel.filterText);
  RefreshList(work, frame);
}

// Reads the paths as drops; the number not taken: the path that met the full list and those after it.
size_t ReadPaths(Workspace& work, Frame& frame, const std::vector<std::wstring>& paths) {
  size_t notTaken = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    const ReadResult result =
        ReadIntoList(work, frame, [&](ListReader& reader) { return reader.ReadPathIntoList(paths[i], false, false); });
    if (result.outcome == ReadOutcome::LimitReached) {
      notTaken = paths.size() - i;
      break;
    }
  }
  ShowReadPaths(work, frame);
  return notTaken;
}

// Reads what the receive function takes out of the message (paths in atoms, or longer ones copied)
// as drops, or keeps them while the window is busy, and answers the sender.
template <typename Receive>
LRESULT ReceiveWith(Workspace& work, Frame& frame, Receive receive) {
  HandOverRefusal refusal;
  refusal.undoMode = work.UndoMode();
  refusal.macroPlayback = work.Playing();
  // An unattended run renames what its command line named, and nothing handed over meanwhile.
  refusal.busy = work.Automatic();
  const bool readNow = FreeToRead(work, frame);
  ReceiveResult result = receive(refusal, [&](const std::wstring& path) {
    if (!readNow) {
      work.heldPaths.push_back(path);
      return PathReadResult::kRoomForMore;
    }
    const ReadResult read =
        ReadIntoList(work, frame, [&](ListReader& reader) { return reader.ReadPathIntoList(path, false, false); });
    return read.outcome == ReadOutcome::LimitReached ? PathReadResult::kListFull : PathReadResult::kRoomForMore;
  });
  if (result.refused) {
    TellNotTaken(work, frame, result.pathsNotTaken);
    return HandOverAnswer(result);
  }
  if (!work.heldPaths.empty()) SetTimer(frame.main, kTimerTakeHeld, kHeldCheckMs, nullptr);
  if (readNow && result.pathsRead > 0) ShowReadPaths(work, frame);
  TellNotTaken(work, frame, result.pathsNotTaken);
  BringWindowToFront(frame.main);
  return HandOverAnswer(result);
}

}  // namespace

LRESULT ReceiveHandOver(Workspace& work, Frame& frame, WPARAM lowest, LPARAM highest) {
  return ReceiveWith(work, frame, [&](const HandOverRefusal& refusal, const ReadHandedPath& read) {
    return ReceivePaths(lowest, highest, refusal, read);
  });
}

LRESULT ReceiveCopiedHandOver(Workspace& work, Frame& frame, const COPYDATASTRUCT* data) {
  if (data == nullptr || data->dwData != kHandOverCopyData) return 0;
  return ReceiveWith(work, frame, [&](const HandOverRefusal& refusal, const ReadHandedPath& read) {
    return ReceiveCopiedPaths(data, refusal, read);
  });
}

void TakeHeldPaths(Workspace& work, Frame& frame) {
  if (!work.heldPaths.empty() && !FreeToRead(work, frame)) return;
  KillTimer(frame.main, kTimerTakeHeld);
  const std::vector<std::wstring> paths = std::move(work.heldPaths);
  work.heldPaths.clear();
  if (paths.empty()) return;
  TellNotTaken(work, frame, ReadPaths(work, frame, paths));
  BringWindowToFront(frame.main);
}

}  // namespace korval
