// What the main window works on, handed by reference to every command handler: the program's
// settings and start facts, the rename list with the mode panel's values, and the state of runs,
// playback and recording (Workspace); and the handles of the window's parts (Frame).
#pragma once

#include <windows.h>

#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/command_line.h"
#include "config/settings.h"
#include "config/settings_store.h"
#include "config/single_instance.h"
#include "engine/execute_changes.h"
#include "engine/list_sort.h"
#include "engine/plan_file_system.h"
#include "engine/rename_list.h"
#include "macro/playback.h"
#include "macro/recorder.h"
#include "modes/mode_params.h"
#include "modes/position_edit.h"
#include "modes/read_mode_params.h"
#include "platform/windows_version.h"
#include "ui/auto_report.h"
#include "ui/auto_run.h"

namespace korval {

// What the process knows before the window exists; handed to the window at creation.
struct WindowStart {
  WindowsVersion windows;
  CommandLine commandLine;
  std::vector<std::wstring> arguments;  // the whole argument vector, for a hand-over
  std::wstring programFolder;           // where settings, logs and macros live, with a backslash
  bool askFirstStart = true;            // the first-start dialog may be shown (tests turn it off)
  const wchar_t* registryKey = kProgramKey;  // where the registry keeps the settings (tests: a key of their own)
  bool handedOver = false;              // out: another instance was found and sent the paths; the program ends
  bool handOverTaken = false;           // out: and it took them all
  AutoReport* report = nullptr;         // the report file of an unattended run, opened before the window
};

struct Workspace {
  WindowsVersion windows;
  CommandLine commandLine;
  std::vector<std::wstring> arguments;
  std::wstring programFolder;
  std::optional<SettingsStore> store;
  RegistryAccess* registry = &SystemRegistry();  // for the shell verb and the removal of the settings
  Settings settings;
  InstanceMutex instanceMutex;

  RenameList list;
  PanelValues panel;
  ModeParams params;
  RunState run;
  SortState sort;
  MacroPlayback playback;
  MacroRecorder recorder;
  MacroSlotNames macroSlots = UnregisteredSlots();
  AutoRunWork autoWork;  // the runs' view of the members above, built once

  int modeIndex = 0;                 // 0..23: tab = index / 12, button = index mod 12
  bool busy = false;                 // a drop, header click or panel change settles (timer 1501)
  bool macroEditorStarted = false;   // the "編集" button reads "リスト更新"
  int folderreadWorking = 0;         // the working copy of `folderread`
  std::wstring lastFolder;           // where the folder dialog starts
  bool settingsRemoved = false;      // the stored settings were deleted: nothing is saved at exit
  int exitWatchdog = 0;              // ticks of the automatic run's exit watchdog
  RunReport autoRunReport;           // what the automatic run did: its exit code
  AutoReport* autoReport = nullptr;  // what each row did, written at the end ("/plan=", "/report=")
  std::unique_ptr<PlanFileSystem> planFs;  // "/plan=": what the plan reads and changes, in memory
  KeptListings listings;             // the list's folders as read, for the previews' name questions
  TagCache tagCache;                 // the tags read from files, kept from pass to pass
  std::vector<std::wstring> heldPaths;  // handed over while a pass or a box was under way: read once free
  size_t pathsNotTaken = 0;          // handed over and not taken, as the status bar tells
  bool fillingPanel = false;         // the program writes the panel: its change notices are not a person's
  PositionMapState positionMap;      // the position edit's sample and map
  int hint = -2;                     // the status hint code shown
  std::wstring passHint;             // why the preview found a name the system refuses
  std::wstring shownHint, shownCounter;
  // How the options choose a colour; empty: the system's colour dialog (tests choose their own).
  std::function<bool(HWND owner, COLORREF& colour)> chooseColour;

  bool UndoMode() const { return list.undoMode; }
  bool Recording() const { return recorder.Recording(); }
  bool Playing() const { return playback.Running(); }
  bool Automatic() const { return commandLine.IsAutomatic(); }
  int Mode() const { return modeIndex + 1; }
};

// Where a control of the main dialog stays when the dialog is resized: its distance to the bottom
// edge, and to the right edge for the controls of the right-hand column.
struct ControlAnchor {
  HWND control = nullptr;
  int id = 0;
  int left = 0, fromBottom = 0, width = 0, height = 0;
  int fromRight = -1;  // -1: kept at its left position
};

// The handles of the main window's parts; a part that is not shown may be null.
struct Frame {
  HWND main = nullptr;
  HWND dialog = nullptr;    // template 100
  HWND list = nullptr;
  HWND tree = nullptr;
  HWND splitter = nullptr;
  HWND toolbar = nullptr;
  HWND status = nullptr;
  HWND progress = nullptr;
  HACCEL accelerators = nullptr;
  HWND recordingWindow = nullptr;  // "■ 終了", while a macro is recorded
  POINT lastPosition{LONG_MIN, LONG_MIN};  // the window's last top left corner
  // The model's selection is being shown in the list: the list's notices of it change nothing.
  mutable bool pushingSelection = false;
  HBITMAP targetPictures[2] = {nullptr, nullptr};  // files, folders, drawn for `dpi`
  HBITMAP previewMark = nullptr;                      // drawn for `dpi`
  HFONT listFont = nullptr;                           // the face of `listfont`, once one is set
  HFONT templateFont = nullptr;  // the font the dialog template made, for `baseDpi`
  HFONT dialogFont = nullptr;    // that font re-made for `dpi` when it differs from `baseDpi`
  int dpi = 96;                  // the DPI of the monitor the window is on; every layout scales by it
  int baseDpi = 96;              // the DPI the dialog was made for: anchors are pixels at this DPI
  HFONT Font() const { return dialogFont ? dialogFont : templateFont; }
  std::vector<ControlAnchor> anchors;                 // the dialog's controls, at `baseDpi`
  int panelHeight = 0;                                // the dialog's height below the list area, at `baseDpi`
  RECT madeClient{};                                  // the dialog's client area as it was made, at `baseDpi`
  std::vector<std::pair<int, HWND>> panelControls;    // the mode panels' controls made so far, by id
  bool setUpStarted = false;   // the rest of the set-up (timer 1500, or a first drop) has begun
  bool setUpFinished = false;  // timer 1500 has run: the panel is filled, the folder tree too
  bool argumentsRead = false;  // timer 1504 has read the command line's paths into the list
  int handlingDepth = 0;       // how many of the window's own messages are being handled, one inside another
  bool closeWhenFree = false;  // a close came while a pass or a box was under way
  bool holdLayout = false;  // the window's start: its parts are laid out once it has its place
  // A control of the dialog by its id, or null for a mode panel's control not made yet. Looked up
  // among the anchored controls first, since under Wine every GetDlgItem asks the server for the
  // dialog's children.
  HWND Item(int id) const;
  // The list's focused row, if any.
  std::optional<size_t> FocusedRow() const;
};

// Everything the main window owns; kept in the window's user data.
struct MainWindowState {
  Workspace work;
  Frame frame;
};

}  // namespace korval
