// The main window: creation and the settings, timers, drops, the hand-over of a second start, the
// commands, and closing. Each message has a short handler; the commands go through the table.
#include "ui/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "config/display_name.h"
#include "config/hand_over.h"
#include "engine/change_log.h"
#include "engine/list_filter.h"
#include "engine/direct_rename.h"
#include "engine/list_selection.h"
#include "engine/list_sort.h"
#include "engine/show_message.h"
#include "macro/macro_file.h"
#include "modes/change_mode.h"
#include "modes/string_helpers.h"
#include "platform/com_apartment.h"
#include "platform/dpi.h"
#include "platform/window_class.h"
#include "resources/resource.h"
#include "ui/close_request.h"
#include "ui/command_table.h"
#include "ui/csv_into_list.h"
#include "ui/display_scaling.h"
#include "ui/first_start_dialog.h"
#include "ui/folder_tree.h"
#include "ui/hand_over_receiver.h"
#include "ui/list_view.h"
#include "ui/live_preview.h"
#include "ui/main_frame.h"
#include "ui/mode_selection.h"
#include "ui/panel_bindings.h"
#include "ui/recording.h"
#include "ui/recording_window.h"
#include "ui/playback_window.h"
#include "ui/split_window.h"
#include "ui/status_bar.h"
#include "ui/undo_mode_view.h"
#include "ui/time_controls.h"
#include "ui/toolbar.h"
#include "ui/window_actions.h"
#include "ui/window_placement.h"

namespace korval {
namespace {

RECT VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

RECT WorkArea() {
  RECT area{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

POINT MinimumSize(int dpi) {
  return MinimumTrackSize(dpi, SystemMetricForDpi(SM_CYCAPTION, dpi), SystemMetricForDpi(SM_CYMENU, dpi),
                          SystemMetricForDpi(SM_CYFRAME, dpi));
}

void PlaceWindow(HWND hwnd, const Settings& s, int dpi) {
  RECT current;
  GetWindowRect(hwnd, &current);
  const RECT r = PlaceMainWindow({s.wleft, s.wtop, s.wwidth, s.wheight}, VirtualScreen(), WorkArea(),
                                 current.right - current.left, dpi, MinimumSize(dpi));
  SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void RememberGeometry(const Frame& frame, Settings& s) {
  RECT r;
  if (!GetWindowRect(frame.main, &r)) return;
  s.wleft = r.left;
  s.wtop = r.top;
  s.wwidth = r.right - r.left;
  s.wheight = r.bottom - r.top;
}

namespace {

// Lets Explorer running unelevated drop files on an elevated window (Vista and later).
void AllowDropsFromLowerIntegrity(const WindowsVersion& windows) {
  if (windows.code < kCodeWindowsVista) return;
  using FilterFn = BOOL(WINAPI*)(UINT, DWORD);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto filter = reinterpret_cast<FilterFn>(
      reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "ChangeWindowMessageFilter") : nullptr));
  if (!filter) return;
  constexpr UINT kCopyGlobalData = 0x0049;
  for (UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, kCopyGlobalData}) filter(message, MSGFLT_ADD);
}

void OnTimer(Workspace& work, Frame& frame, UINT_PTR id);
void OnClose(MainWindowState* state);
void TickExitWatchdog(Workspace& work, const Frame& frame);

// The next step of an automatic start, after the pause that lets the window show what came before.
// A plan shows no window, so it takes its steps one after the other without pauses: a script that
// plans waits for the work only.
void ContinueAfter(Workspace& work, Frame& frame, UINT_PTR step, UINT pause) {
  if (work.planFs) {
    OnTimer(work, frame, step);
  } else {
    SetTimer(frame.main, step, pause, nullptr);
  }
}

// The automatic run is over: the next tick of the watchdog closes the window, a plan's closes now
// (a plan never stays open: its command line drops "/show" and "/noexit").
void FinishAutomaticRun(Workspace& work, const Frame& frame) {
  work.exitWatchdog = kRunFinished;
  if (work.planFs) TickExitWatchdog(work, frame);
}

// The runs' view of the workspace, built once: its members stay where they are for the window's life.
void BuildAutoRunWork(MainWindowState* state) {
  Workspace& work = state->work;
  Frame& frame = state->frame;
  AutoRunWork& w = work.autoWork;
  w.list = &work.list;
  w.settings = &work.settings;
  w.windows = work.windows;
  w.panel = &work.panel;
  w.params = &work.params;
  w.state = &work.run;
  w.sort = &work.sort;
  w.playback = &work.playback;
  w.recorder = &work.recorder;
  w.macroSlots = &work.macroSlots;
  w.programFolder = work.programFolder;
  w.owner = frame.main;
  w.report = &work.autoRunReport;
  w.record = work.autoReport ? &work.autoReport->record : nullptr;
  if (work.autoReport) w.reportPath = work.autoReport->file.Target();
  w.planFs = work.planFs.get();
  w.listings = &work.listings;
  w.tagCache = &work.tagCache;
  w.playbackView = PlaybackWindowView(frame.main, [state] {
    state->work.playback.Abort(PlaybackHooksFor(state->work.commandLine, state->work.autoWork));
  });
  w.listChanged = [state] {
    // The names a playback step previewed show, with the panel's values it corrected.
    WritePanel(state->work, state->frame);
    RefreshList(state->work, state->frame);
  };
  w.panelLoaded = [state] {
    // The playback follows its steps in the panel: each step's mode with its values.
    SelectModeIndex(state->work, state->frame, state->work.panel.mode - 1);
    WritePanel(state->work, state->frame);
  };
  w.playbackEnded = [state] {
    Workspace& work = state->work;
    RefreshList(work, state->frame);
    ShowPreviewMark(work, state->frame);
    // A macro run from the command line ends once its playback has ended.
    if (work.Automatic() && work.commandLine.ClosesAfterRun()) FinishAutomaticRun(work, state->frame);
  };
}

BOOL OnCreate(HWND hwnd, const CREATESTRUCTW* create) {
  auto* start = static_cast<WindowStart*>(create->lpCreateParams);
  auto* state = new MainWindowState;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  Workspace& work = state->work;
  Frame& frame = state->frame;
  frame.main = hwnd;
  frame.dpi = WindowDpi(hwnd);
  SetMessageOwner(hwnd);  // every box of the program belongs to the main window
  work.windows = start->windows;
  work.commandLine = start->commandLine;
  work.arguments = start->arguments;
  work.programFolder = start->programFolder;
  work.autoReport = start->report;
  if (work.commandLine.plan && work.Automatic()) work.planFs = std::make_unique<PlanFileSystem>();
  work.store = SettingsStore::Choose(work.programFolder, start->registryKey);
  const bool firstStart = LoadSettings(*work.store, work.windows, work.settings).firstStart;
  if (firstStart && start->askFirstStart && !work.Automatic()) {
    FirstStartData data{work.windows, work.settings.usejpname};
    if (ShowFirstStartDialog(nullptr, &data)) work.settings.usejpname = data.usejpname;
  }
  // A second start hands its paths to the running instance and ends; automatic runs always run on
  // their own. When the running instance's window never shows (it ended meanwhile), this start
  // opens its own window with its paths rather than dropping them, and takes the mutex over when
  // nobody holds it any more.
  // This window then takes the hand-overs of later starts, even while the silent instance still holds
  // the mutex: otherwise each later start would wait in vain and open yet another window.
  bool receivesInsteadOfSilentInstance = false;
  if (!work.settings.multiple && !work.Automatic() && CheckOtherInstance(work.instanceMutex)) {
    const HandOverResult handOver = HandOverPaths(hwnd, work.arguments, HandOverMessage());
    if (handOver.windowFound) {
      start->handedOver = true;
      start->handOverTaken = handOver.taken;
      return FALSE;
    }
    work.instanceMutex.Release();
    CheckOtherInstance(work.instanceMutex);
    receivesInsteadOfSilentInstance = true;
  }
  // The case conversions keep their exception words in the mode parameters; the box shows the
  // list of the conversion chosen.
  work.params.bsexcept0 = work.settings.bsexcept0;
  work.params.bsexcept1 = work.settings.bsexcept1;
  work.params.bsexcept2 = work.settings.bsexcept2;
  PanelFromSettings(work.settings, work.panel);
  work.panel.exceptionText = ExceptionTextFor(work.params, work.panel.bigsmall);
  work.folderreadWorking = work.settings.folderread;
  work.macroSlots = ReadMacroList(work.programFolder, MacroProgram::Main);
  // A run that was cut short (a crash, a power loss) left its log in slot 0: make it undoable now
  // (a plan changes nothing, the logs included).
  if (!work.commandLine.plan) RecoverOrphanedLog(work.programFolder);
  BuildAutoRunWork(state);
  frame.holdLayout = true;  // laid out once, at the window's place, not first at its size of creation
  const bool made = CreateFrameParts(state);
  PlaceWindow(hwnd, work.settings, frame.dpi);
  frame.holdLayout = false;
  if (!made) return FALSE;
  LayoutFrame(work, frame);
  SetWindowTextW(hwnd, MainWindowTitle(work.settings.usejpname).c_str());
  SetModeIndex(work, frame, work.settings.mode);
  ShowUndoModeView(work, frame);  // shows the mode's panel
  ShowStatusHint(work, frame, kHintIdle);
  // A timer comes after every paint of the thread: the window shows whole first, then sets up.
  SetTimer(hwnd, kTimerFinishSetup, USER_TIMER_MINIMUM, nullptr);
  SetTimer(hwnd, kTimerClock, 50, nullptr);
  // Found by a second start only now that the window is whole.
  MarkHandOverReceiver(hwnd, work.instanceMutex.Owns() || receivesInsteadOfSilentInstance);
  return TRUE;
}

void FinishSetup(Workspace& work, Frame& frame) {
  if (frame.setUpStarted) return;
  frame.setUpStarted = true;
  // Shortcuts, the folder tree and the shell's dialogs go through COM, entered after the first paint.
  EnterComApartment();
  LoadSettingsOnFirstShow(*work.store, work.settings);
  PanelFromSettings(work.settings, work.panel);
  work.panel.exceptionText = ExceptionTextFor(work.params, work.panel.bigsmall);
  FillPanelLists(work, frame);
  ReloadMacroSlots(work, frame);
  WritePanel(work, frame);
  InitTimeControls(frame, work.panel);
  // The folder tree shown at start is filled now that the window has shown.
  if (frame.tree) FillFolderTree(frame.tree);
  frame.setUpFinished = true;  // controls and trees made from now on are filled as they are made
  AllowDropsFromLowerIntegrity(work.windows);
  if (work.commandLine.listTarget >= 0) work.settings.file_dir = work.commandLine.listTarget;
  ShowListTarget(work, frame);
  ApplyTopmost(work, frame);
  LayoutFrame(work, frame);
  if (work.commandLine.testMode) SetWindowTextW(frame.main, kTestModeTitle);
  if (frame.list && !work.UndoMode()) SetFocus(frame.list);
  if (!work.Automatic()) SetTimer(frame.main, kTimerDiskCheck, kDiskCheckMs, nullptr);
  ContinueAfter(work, frame, kTimerReadArguments, 100);
}

// The rest of the set-up runs once the window has painted; a drop or a hand-over that comes first
// (a start beside a busy desktop) needs the settings it reads (`option1`, `attribute`) and runs it now.
void FinishSetupNow(Workspace& work, Frame& frame) {
  KillTimer(frame.main, kTimerFinishSetup);
  FinishSetup(work, frame);
}

void ReadArguments(Workspace& work, Frame& frame) {
  ShowStatusHint(work, frame, kHintIdle);
  // A person's start reads with the window's counter, and keeps answering other programs meanwhile.
  const CommandLine& line = work.commandLine;
  int delay = 0;
  if (work.Automatic()) {
    delay = PrepareAutomaticRun(line, work.autoWork);
  } else {
    if (!line.paths.empty()) ReadIntoList(work, frame, [&](ListReader& r) { return r.ReadDroppedItems(line.paths); });
    ApplyFilterAndSortRequest(line, work.autoWork);
  }
  if (work.commandLine.hasFilter) {
    work.panel.filterText = work.commandLine.filterText;
    SetDlgItemTextW(frame.dialog, IDC_FILTER, work.commandLine.filterText.c_str());
  }
  SetPositionSample(work, frame);
  RefreshList(work, frame);
  frame.argumentsRead = true;
  if (work.Automatic()) ContinueAfter(work, frame, kTimerAutoRun, static_cast<UINT>(delay));
}

void RunFromCommandLine(Workspace& work, Frame& frame) {
  if (work.commandLine.ClosesAfterRun()) SetTimer(frame.main, kTimerExitWatchdog, 500, nullptr);
  RunAutomatic(work.commandLine, work.autoWork);
  RefreshList(work, frame);
  // The run is over (a macro run: unless its playback goes on): the next tick of the watchdog
  // closes the window.
  if (!work.Playing()) FinishAutomaticRun(work, frame);
}

// Every half second; closes the window once the run is done, or cuts it after about three minutes.
// A cut leaves the timer running: its next tick closes the window, and with it every box still open
// (the one that says why the run was cut included), so an unattended run ends whoever is watching.
void TickExitWatchdog(Workspace& work, const Frame& frame) {
  const WatchdogStep step = TickWatchdog(work.exitWatchdog, work.autoWork.watchdogTicks);
  if (step == WatchdogStep::Wait) return;
  if (step == WatchdogStep::Cut) {
    work.exitWatchdog = kRunFinished;
    CutAutomaticRun(work.commandLine, work.autoWork);
    return;
  }
  KillTimer(frame.main, kTimerExitWatchdog);
  if (work.autoWork.end.cut) CloseMessagesForGood();
  PostMessageW(frame.main, WM_CLOSE, 0, 0);
}

// The person's selection in the list has settled: with the filter "リスト選択" the selected rows are
// the ones to change, so the filter follows, and a preview no longer stands when it changed.
void OnSelectionSettled(Workspace& work, Frame& frame) {
  if (ApplyFilter(work.list, FilterKind::SelectionOnly, work.panel.filterText)) {
    MarkPreviewStale(work, frame);
    RefreshList(work, frame);
  }
  ShowStatusHint(work, frame, kHintCounterOnly);
}

void OnTimer(Workspace& work, Frame& frame, UINT_PTR id) {
  if (id == kTimerCloseWhenFree) {
    if (FreeToClose(frame)) OnClose(StateOf(frame.main));
    return;
  }
  // The periodic timers stop themselves when they are done.
  if (id != kTimerExitWatchdog && id != kTimerDiskCheck && id != kTimerTakeHeld) KillTimer(frame.main, id);
  switch (id) {
    case kTimerFinishSetup: FinishSetup(work, frame); break;
    case kTimerBusy: work.busy = false; break;
    case kTimerCounter: OnSelectionSettled(work, frame); break;
    case kTimerLivePreview: RunLivePreview(work, frame); break;
    case kTimerDiskCheck: FollowOutsideChanges(work, frame); break;
    case kTimerTakeHeld: TakeHeldPaths(work, frame); break;
    case kTimerPlayback: TickPlayback(work.commandLine, work.autoWork); break;
    case kTimerClock: TickClock(work, frame); break;
    case kTimerReadArguments: ReadArguments(work, frame); break;
    case kTimerAutoRun: RunFromCommandLine(work, frame); break;
    case kTimerExitWatchdog: TickExitWatchdog(work, frame); break;
    default: break;
  }
}

std::vector<std::wstring> DroppedPaths(HDROP drop) {
  std::vector<std::wstring> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length, L'\0');
    DragQueryFileW(drop, i, path.data(), length + 1);
    paths.push_back(std::move(path));
  }
  return paths;
}

// In the CSV mode one dropped ".csv" file gives the rows it lists rather than a row of its own.
bool IsCsvDrop(const Workspace& work, const std::vector<std::wstring>& paths) {
  if (work.Mode() != kModeCsvNames || work.UndoMode() || paths.size() != 1) return false;
  const DWORD attributes = GetFileAttributesW(paths.front().c_str());
  return EndsWithNoCase(paths.front(), L".csv") && attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void OnDropFiles(Workspace& work, Frame& frame, HDROP drop) {
  const std::vector<std::wstring> paths = DroppedPaths(drop);
  DragFinish(drop);
  FinishSetupNow(work, frame);
  // Ignored while busy: a drop is settling, a pass over the rows, a box or a playback is under way.
  if (work.busy || work.run.passRunning || work.Playing() || HandlingInsideAnother(frame)) return;
  if (IsCsvDrop(work, paths)) {
    ReadCsvIntoList(work, frame, paths.front());
    SetBusy(work, frame);
    return;
  }
  const bool wasUndoMode = work.UndoMode();
  ReadIntoList(work, frame, [&](ListReader& reader) { return reader.ReadDroppedItems(paths); });
  // The view changes only when the drop ended the undo mode (redrawing it costs 60 ms at 50,000 rows).
  if (work.UndoMode() != wasUndoMode) ShowUndoModeView(work, frame);
  SetBusy(work, frame);
}

// A second start handed over its paths: read them as drops (or kept while the window is busy), then
// come to the front.
LRESULT OnHandOver(Workspace& work, Frame& frame, WPARAM lowest, LPARAM highest) {
  FinishSetupNow(work, frame);
  return ReceiveHandOver(work, frame, lowest, highest);
}

LRESULT OnCopiedHandOver(Workspace& work, Frame& frame, const COPYDATASTRUCT* data) {
  if (data == nullptr || data->dwData != kHandOverCopyData || !GetPropW(frame.main, kHandOverReceiverProperty)) return 0;
  FinishSetupNow(work, frame);
  return ReceiveCopiedHandOver(work, frame, data);
}

LRESULT OnNotify(MainWindowState* state, const NMHDR* header) {
  Workspace& work = state->work;
  Frame& frame = state->frame;
  LRESULT result = 0;
  if (header->code == TTN_GETDISPINFOW) {
    auto* tip = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
    if (const wchar_t* text = ToolbarTooltip(static_cast<int>(header->idFrom))) tip->lpszText = const_cast<wchar_t*>(text);
    return 0;
  }
  if (HandleFolderTreeNotify(header, &result, {[&](const std::wstring& path) { OnTreeFolderSelected(work, frame, path); }})) {
    return result;
  }
  if (header->idFrom != IDC_RENAME_LIST) return 0;
  if (AnswerListRequest(header, work.list, work.settings)) return 0;
  const bool selectionNotice = header->code == LVN_ITEMCHANGED || header->code == LVN_ODSTATECHANGED;
  if (selectionNotice && frame.pushingSelection) return 0;
  if (TrackListSelection(header, work.list)) {
    // Selecting many rows sends a notice per row: the counter is counted once they are through.
    SetTimer(frame.main, kTimerCounter, 30, nullptr);
    return 0;
  }
  if (header->code == LVN_COLUMNCLICK && !work.busy && !work.Playing()) {
    SortOptions options = SortOptionsFrom(work.settings);
    options.afterPreview = work.run.previewed;
    ShowStatusHint(work, frame, kHintSorting);
    SortList(work.list, work.sort, reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem, kSortToggle, options);
    ShowSortArrows(frame.list, work.sort);
    ShowStatusHint(work, frame, ModeHint(work.Mode()));
    RefreshList(work, frame);
    PushSelection(work, frame);
    SetBusy(work, frame);
    return 0;
  }
  if (header->code == NM_DBLCLK) DispatchCommand(work, frame, IDM_OPEN_ITEM);
  if (header->code == LVN_KEYDOWN) {
    const WORD key = reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey;
    if (key == VK_DELETE) DispatchCommand(work, frame, IDM_DELETE_SELECTED);
    if (key == VK_F2) DispatchCommand(work, frame, IDM_DIRECT_RENAME);
    // The list's own Ctrl+X, Ctrl+C and Ctrl+V: rows as CSV text.
    if (GetKeyState(VK_CONTROL) < 0 && (key == 'X' || key == 'C' || key == 'V')) {
      DispatchCommand(work, frame, key == 'X' ? IDM_CUT : key == 'C' ? IDM_COPY : IDM_PASTE);
    }
  }
  if (header->code == LVN_BEGINLABELEDITW) {
    const int row = reinterpret_cast<const NMLVDISPINFOW*>(header)->item.iItem;
    return CanStartDirectRename(work.list, static_cast<size_t>(row)) && !work.Playing() && !work.run.passRunning ? FALSE : TRUE;
  }
  if (header->code == LVN_ENDLABELEDITW) {
    const LVITEMW& item = reinterpret_cast<const NMLVDISPINFOW*>(header)->item;
    if (item.pszText && item.iItem >= 0) FinishDirectRenameInWindow(work, frame, static_cast<size_t>(item.iItem), item.pszText);
    return FALSE;  // the row's texts come from the list, changed or not
  }
  return 0;
}

// What every close keeps: the window's size and columns, the panel's values, the settings.
void SaveAtClose(Workspace& work, Frame& frame, bool hide) {
  const bool normal = !IsZoomed(frame.main) && !IsIconic(frame.main);
  if (normal) RememberGeometry(frame, work.settings);
  RememberColumnWidths(frame.list, work.settings);
  if (frame.tree && (work.settings.dispcontrols & 8)) {
    work.settings.treewidth = static_cast<int>(SendMessageW(frame.splitter, kSplitGetPosition, 0, 0));
  }
  if (hide) ShowWindow(frame.main, SW_HIDE);
  if (hide && work.Recording()) StopRecording(work, frame);
  CollectPanel(work, frame);
  SettingsFromPanel(work.panel, work.settings);
  work.settings.bsexcept0 = work.params.bsexcept0;
  work.settings.bsexcept1 = work.params.bsexcept1;
  work.settings.bsexcept2 = work.params.bsexcept2;
  if (work.store && !work.settingsRemoved) SaveSettings(*work.store, work.settings, SaveReason::Exit, normal);
}

void OnClose(MainWindowState* state) {
  Workspace& work = state->work;
  Frame& frame = state->frame;
  // Inside a pass or a box the window is still in use: it closes once they have stopped.
  if (HandlingInsideAnother(frame)) {
    CloseWhenFree(frame);
    return;
  }
  KillTimer(frame.main, kTimerCloseWhenFree);
  SaveAtClose(work, frame, true);
  if (work.autoReport) FinishAutoReport(work.commandLine, *work.autoReport, work.list, work.autoWork.end, work.programFolder);
  DestroyWindow(frame.main);
}

// The session ends once this returns: what a close keeps is kept now, and the window closes as a
// close does (after the pass under way, if any).
void OnEndSession(MainWindowState* state, bool ending) {
  if (!ending) return;
  if (HandlingInsideAnother(state->frame)) SaveAtClose(state->work, state->frame, false);
  OnClose(state);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT handOverMessage = HandOverMessage();
  MainWindowState* state = StateOf(hwnd);
  if (message == WM_CREATE) return OnCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam)) ? 0 : -1;
  if (!state) return DefWindowProcW(hwnd, message, wParam, lParam);
  Workspace& work = state->work;
  Frame& frame = state->frame;
  const HandlingMessage handling(hwnd);
  if (message == handOverMessage && handOverMessage != 0) return OnHandOver(work, frame, wParam, lParam);
  switch (message) {
    case WM_COPYDATA: return OnCopiedHandOver(work, frame, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_TIMER: OnTimer(work, frame, wParam); return 0;
    case WM_SIZE: LayoutFrame(work, frame); return 0;
    case WM_MOVE: {
      // The recording window keeps its place beside the main window.
      RECT r;
      GetWindowRect(hwnd, &r);
      if (frame.lastPosition.x != r.left || frame.lastPosition.y != r.top) {
        if (frame.lastPosition.x != LONG_MIN) {
          MoveRecordingWindow(frame.recordingWindow, r.left - frame.lastPosition.x, r.top - frame.lastPosition.y);
        }
        frame.lastPosition = {r.left, r.top};
      }
      return 0;
    }
    case WM_NOTIFY: return OnNotify(state, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: DispatchCommand(work, frame, LOWORD(wParam)); return 0;
    case WM_DROPFILES: OnDropFiles(work, frame, reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = MinimumSize(frame.dpi);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(work, frame, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_GETFONT:
      // The font of the program's texts, for the windows it opens beside the main window.
      return reinterpret_cast<LRESULT>(frame.Font());
    case WM_CLOSE: OnClose(state); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: OnEndSession(state, wParam != FALSE); return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == frame.list && !work.Playing()) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lParam == -1) GetCursorPos(&at);
        ShowListMenu(frame.list, hwnd, at, SelectedCount(work.list) > 0);
        return 0;
      }
      return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_DESTROY:
      FreeFramePictures(frame);
      if (frame.listFont) DeleteObject(frame.listFont);
      PostQuitMessage(work.Automatic()
                          ? AutomaticExitCode(work.commandLine, work.autoRunReport, work.autoWork.end, work.autoReport)
                          : 0);
      return 0;
    case WM_NCDESTROY:
      if (MessageOwner() == hwnd) SetMessageOwner(nullptr);
      MarkHandOverReceiver(hwnd, false);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete state;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  return RegisterTopLevelClass(instance, kMainWindowClass, MainWindowProc, IDI_PROGRAM, IDR_MAIN_MENU);
}

HWND CreateMainWindow(HINSTANCE instance, WindowStart* start, bool hidden) {
  // The title is set once the settings say which name to show; the size is fixed at placement.
  // Wider than any desktop, so that the placement gives the default width.
  const int dpi = WindowDpi(nullptr);
  return CreateWindowExW(WS_EX_ACCEPTFILES | (hidden ? WS_EX_NOACTIVATE : 0), kMainWindowClass, L"",
                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, ScaleToDpi(3200, dpi),
                         ScaleToDpi(407, dpi), nullptr, nullptr, instance, start);
}

int RunMainLoop(HWND main) {
  MainWindowState* state = StateOf(main);
  HACCEL accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
  if (state) state->frame.accelerators = accelerators;
  return RunMessageLoop(main, accelerators);
}

}  // namespace korval
