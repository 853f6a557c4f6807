// New names shown while the user types: a change in the mode panel starts a short timer, and when
// typing pauses, a preview runs that asks nothing, shows no box, keeps no input history and confirms
// nothing (the first Enter still previews, the second executes). It stops as soon as the user types
// or clicks again, and starts anew once typing pauses.
#pragma once

#include <chrono>

#include "ui/workspace.h"

namespace korval {

// The hint added to a mode's hint when that mode's names cannot follow the typing.
inline constexpr const wchar_t* kNoLivePreviewHint = L" （入力中の表示なし）";

// Whether the mode's names can follow the typing: not the macro playback, not names read from a file
// or edited in the text editor.
bool ModeFollowsTyping(int mode);

// A panel value changed: the new names follow once typing pauses.
void ScheduleLivePreview(Workspace& work, const Frame& frame);

// The timer fired: previews every row with the panel's values as they stand.
void RunLivePreview(Workspace& work, Frame& frame);

// How often the listed folders are compared with the disk while new names are shown; also the
// shortest time between two passes that an outside change starts.
inline constexpr UINT kDiskCheckMs = 300;

// Time the listed folders are compared for in one check; the next check goes on where it stopped.
inline constexpr std::chrono::milliseconds kDiskCheckBudget{8};

// Timer 1510: when a listed folder changed from outside while new names are shown (typed or
// previewed), the names and their statuses are worked out again, so the icons follow the disk
// without a keystroke (names drawn by chance stay as they were drawn; their statuses follow).
void FollowOutsideChanges(Workspace& work, Frame& frame);

// One check of timer 1510: asks nothing while no new name is shown, compares the local folders for
// about kDiskCheckBudget (folders on network drives wait for the next preview), and says whether
// one of them changed from outside.
bool OutsideChangeToShow(KeptListings& listings, const RenameList& list);

}  // namespace korval
