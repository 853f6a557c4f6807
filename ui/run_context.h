// The state a run works on, whether the window's or an unattended one's, and the executor's
// context made from it for each pass: live names, the buttons and unattended runs all make it here.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "config/settings.h"
#include "engine/execute_changes.h"
#include "engine/list_sort.h"
#include "engine/rename_list.h"
#include "macro/playback.h"
#include "macro/recorder.h"
#include "platform/windows_version.h"

namespace korval {

ExecuteOptions ExecuteOptionsFrom(const Settings& s, const WindowsVersion& windows);

// What an automatic run met beside its passes, for its exit code.
struct AutoRunEnd {
  bool rowsLeftOut = false;  // the row limit left items of the command line out of the list
  bool cut = false;          // the exit watchdog closed the run before it was done
  // Items the reading left out because their full path does not fit a row: rows of the report.
  std::vector<ReportRow> leftOut;
  bool listEmpty = false;    // nothing was listed to change
};

// Every item of the run was left out while reading: the run found nothing it could change, which
// is a change not made, not a run that could not start.
inline bool LeftOutOfEmptyList(const AutoRunEnd& end) { return end.listEmpty && !end.leftOut.empty(); }

// The exit watchdog ticks every 500 ms; a run still going after this many ticks (about three
// minutes) is cut. A finished run sets the count to kRunFinished, so that the next tick closes.
inline constexpr int kExitWatchdogTicks = 360;
inline constexpr int kRunFinished = 10000;

// The state an automatic run works on.
struct AutoRunWork {
  RenameList* list = nullptr;
  Settings* settings = nullptr;
  WindowsVersion windows;
  PanelValues* panel = nullptr;
  ModeParams* params = nullptr;
  RunState* state = nullptr;
  SortState* sort = nullptr;
  MacroPlayback* playback = nullptr;
  MacroRecorder* recorder = nullptr;       // an execution while it records hands its step over
  MacroSlotNames* macroSlots = nullptr;
  PlaybackView playbackView;               // the playback window, when the window shows one
  std::function<void()> playbackEnded;     // the playback has ended (an automatic run closes then)
  std::function<void()> listChanged;       // a playback step previewed the rows anew
  std::function<void()> panelLoaded;       // a playback step (or the macro mode at its end) filled the panel
  std::wstring programFolder;
  HWND owner = nullptr;                    // also receives the playback timer
  RunReport* report = nullptr;             // what the automatic run did, for its exit code
  AutoRunEnd end;
  int watchdogTicks = kExitWatchdogTicks;  // tests shorten it
  RunRecord* record = nullptr;             // what each row did, when a report file was asked for
  FileSystem* planFs = nullptr;            // a plan's file system: its reading and passes run on it
  KeptListings* listings = nullptr;        // the folders as read, asked by previews (not by a plan)
  TagCache* tagCache = nullptr;            // tags read in earlier passes, kept while the files stay
  std::wstring reportPath;                 // the run's report or plan file: never listed, never a new name
};

// The executor's context for a pass in mode over the work's list; in the macro mode it reads the
// selected slot's macro, or the file an automatic run names.
ExecuteContext ContextFor(const CommandLine& commandLine, AutoRunWork& work, int mode);

}  // namespace korval
