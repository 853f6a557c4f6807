// The preview that follows the typing.
#include "ui/live_preview.h"

#include "engine/execute_changes.h"
#include "engine/show_message.h"
#include "modes/change_mode.h"
#include "ui/auto_run.h"
#include "ui/close_request.h"
#include "ui/panel_bindings.h"
#include "ui/run_context.h"
#include "ui/status_bar.h"
#include "ui/timers.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

// The preview starts as soon as the key's own echo is painted (a timer comes after the paint); a
// next key stops it and starts it again, so typing never waits for it.
constexpr UINT kPauseMs = USER_TIMER_MINIMUM;

// Whether the names can be worked out without a person's Enter; a preview that stands is worked out
// again only for an outside change (typing after it waits for the next Enter).
bool Applies(const Workspace& work, bool evenAfterPreview = false) {
  return work.settings.livepreview && !work.UndoMode() && !work.Playing() && !work.run.passRunning &&
         !work.Automatic() && (evenAfterPreview || !work.run.previewed) && !work.run.editedInTextEditor &&
         !work.list.Empty() && ModeFollowsTyping(work.Mode());
}

bool AnyNewName(const RenameList& list) {
  for (const RenameItem& row : list.Rows()) {
    if (!row.newName.empty()) return true;
  }
  return false;
}

// Asked every few thousand rows and every 20 ms: what other programs send the window is answered
// meanwhile, and input waiting in the queue (the user typed or clicked again) stops the preview.
bool InputWaiting() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  return HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) != 0;
}

}  // namespace

bool ModeFollowsTyping(int mode) { return mode != kModeMacro && mode != kModeCsvNames; }

void ScheduleLivePreview(Workspace& work, const Frame& frame) {
  if (Applies(work)) SetTimer(frame.main, kTimerLivePreview, kPauseMs, nullptr);
}

namespace {

// keepNames: the names shown stand, and only their statuses are worked out again.
void WorkOutNames(Workspace& work, Frame& frame, bool keepNames = false) {
  CollectPanel(work, frame);
  ExecuteContext c = ContextFor(work.commandLine, work.autoWork, work.Mode());
  c.nonsjiswarnSetting = nullptr;  // no question is asked, so no answer changes a setting
  c.interrupted = InputWaiting;
  c.keepNewNames = keepNames;
  const RunState before = work.run;
  const MessagePolicy policy = CurrentMessagePolicy();
  SetMessagePolicy(MessagePolicy{true, false, false, false});  // silent, as an unattended run
  RunReport report;
  ExecuteChanges(RunKind::Preview, c, &report);
  SetMessagePolicy(policy);
  work.run = before;  // the names show, but the preview still waits for Enter
  work.passHint = report.hint.empty() ? L"" : L" " + report.hint;
  ShowStatusHint(work, frame, work.passHint.empty() ? ModeHint(work.Mode()) : kHintPassText);
  RefreshList(work, frame);
  // Cut short by a key: the names follow again once typing pauses.
  if (report.aborted) ScheduleLivePreview(work, frame);
}

}  // namespace

void RunLivePreview(Workspace& work, Frame& frame) {
  if (Applies(work)) WorkOutNames(work, frame);
}

bool OutsideChangeToShow(KeptListings& listings, const RenameList& list) {
  if (!AnyNewName(list)) return false;
  CompareBound bound;
  bound.budget = kDiskCheckBudget;
  bound.skipNetwork = true;
  return listings.NoteOutsideChanges(bound);
}

void FollowOutsideChanges(Workspace& work, Frame& frame) {
  if (work.busy || HandlingInsideAnother(frame) || !Applies(work, true)) return;
  if (!OutsideChangeToShow(work.listings, work.list)) return;
  WorkOutNames(work, frame, DrawsNamesByChance(work.Mode()));
}

}  // namespace korval
