// The steps the main window's handlers share: redrawing the list, the preview-stale rule, the busy
// flag, reading paths into the list, previewing and executing.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "engine/show_message.h"
#include "engine/undo.h"
#include "filelist/list_reader.h"
#include "ui/timers.h"
#include "ui/workspace.h"

namespace korval {

// The main window's state, kept in its user data.
MainWindowState* StateOf(HWND main);

// The control shows the model's rows anew; the counter follows.
void RefreshList(Workspace& work, const Frame& frame);
// The model's selection is pushed into the control (after select all, toggle, move, delete).
void PushSelection(const Workspace& work, const Frame& frame);

// A change of the list or of a panel control: the preview is no longer current, the mark between
// the two buttons shows again, and names typed in the text editor are no longer the preview.
void MarkPreviewStale(Workspace& work, const Frame& frame);
// Shows or hides the mark by the current run state.
void ShowPreviewMark(const Workspace& work, const Frame& frame);

// The busy flag holds for 100 ms (timer 1501).
void SetBusy(Workspace& work, const Frame& frame);

// The longest old name becomes the sample of the position edit, with an identity map.
void SetPositionSample(Workspace& work, const Frame& frame);
void SetPositionSampleText(Workspace& work, const Frame& frame, const std::wstring& sample);

// Reads paths into the list with the settings' depth and filters, the window's hooks (counter,
// reading hint, ESC) and the user's answers kept; then redraws.
ReadResult ReadIntoList(Workspace& work, Frame& frame, const std::function<ReadResult(ListReader&)>& read);

// Empties every new name and status and applies the filter anew, as a drop of nothing does.
void ResetNames(Workspace& work, Frame& frame);

// The panel's controls into the workspace's values, as a pass reads them.
void CollectPanel(Workspace& work, const Frame& frame);

// A pass in the current mode; Preview and Execute show progress and redraw the list after.
int RunPass(Workspace& work, Frame& frame, RunKind kind, RunReport* report = nullptr);

// What moves the progress bar for a pass or an undo: 0 and 100 always, the steps between at most
// every kProgressStepMs, since every move is drawn at once and a pass of 50,000 rows would spend a
// third of its time drawing a hundred of them.
inline constexpr ULONGLONG kProgressStepMs = 50;
std::function<void(int percent)> ProgressBarMover(const Frame& frame);


}  // namespace korval
