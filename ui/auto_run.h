// The glue between the program's settings and the engine for the runs the window starts: the
// options each engine piece reads, and the steps of an automatic run from the command line.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "config/command_line.h"
#include "config/settings.h"
#include "engine/execute_changes.h"
#include "engine/list_sort.h"
#include "engine/rename_list.h"
#include "filelist/list_reader.h"
#include "macro/playback.h"
#include "macro/recorder.h"
#include "platform/windows_version.h"
#include "ui/run_context.h"
#include "ui/timers.h"

namespace korval {

ReadSettings ReadSettingsFrom(const Settings& s, const CommandLine& commandLine);
// The answers given during a read are the program's from then on: the switch to files, a raised row
// limit, the folder reading, and that the "No Sub Folder" question was asked.
void KeepReadAnswers(const ReadSettings& r, Settings& s);

// The exit code of an unattended run, for scripts: 0 every change it was asked for was made (a name
// that already was the new one counts as made), 1 some change failed or was not made (a row left
// alone by its status, items the row limit left out, a run cut by the watchdog after it changed
// something, an undo stopped), 2 the run could not start (the macro missing or unreadable, its
// arguments refused, no change log possible) or was cut before it changed anything.
inline constexpr int kExitAllDone = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitNotStarted = 2;
int ExitCodeOf(const RunReport& report, const AutoRunEnd& end = {});

// One tick of the exit watchdog.
enum class WatchdogStep { Wait, Close, Cut };
WatchdogStep TickWatchdog(int& ticks, int limit);

// The watchdog cut the run: the playback stops without executing, and the user is told (an error
// message, so "/errmsg" shows it).
inline constexpr const wchar_t* kRunCutText =
    L"自動実行が約3分以内に終わらなかったため、途中で打ち切りました。";
inline constexpr const wchar_t* kRunCutCaption = L"Time Out";
void CutAutomaticRun(const CommandLine& commandLine, AutoRunWork& work);


// The sort options the settings give.
SortOptions SortOptionsFrom(const Settings& s);

// The command line's "/filter=" and "/sort..." applied to the rows read.
void ApplyFilterAndSortRequest(const CommandLine& commandLine, AutoRunWork& work);

// Step 4: the paths of the command line are read into the list, the filter and the sort request are
// applied; for an undo run the log slot is loaded. Returns the delay before the run in milliseconds.
int PrepareAutomaticRun(const CommandLine& commandLine, AutoRunWork& work);

// Step 5: preview and execute in the chosen mode (in test mode only the preview), or undo. A macro
// run starts the playback, which executes when it ends. Returns what the execution reported.
// A plan ("/plan=") runs the same passes on a file system that changes nothing, plays a macro's
// steps one after the other at once, and records what the execution would do.
RunReport RunAutomatic(const CommandLine& commandLine, AutoRunWork& work);

// A preview in the macro mode: the names pass through unchanged, the macro is read and its
// playback starts on the owner's timer 1502. executeAfter: the list is executed when the playback
// ends. Returns 1 when the preview failed (the macro could not be read).
int PreviewMacro(const CommandLine& commandLine, AutoRunWork& work, bool executeAfter);

// Timer 1502: one playback step; the timer is started again unless the playback ended.
void TickPlayback(const CommandLine& commandLine, AutoRunWork& work);

PlaybackHooks PlaybackHooksFor(const CommandLine& commandLine, AutoRunWork& work);

// The current local time as the command line's time values read it.
LocalDateTime CurrentLocalDateTime();

}  // namespace korval
