// The main window: settings are read when it is created and written when it closes. The panels
// inside it come with the list and mode panel.
#include "ui/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "config/display_name.h"
#include "config/hand_over.h"
#include "engine/change_log.h"
#include "engine/list_filter.h"
#include "macro/macro_file.h"
#include "filelist/list_reader.h"
#include "platform/data_files.h"
#include "platform/window_class.h"
#include "ui/app.h"
#include "ui/auto_run.h"
#include "ui/list_view.h"
#include "ui/playback_window.h"
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

void PlaceWindow(HWND hwnd) {
  const Settings& s = gApp.settings;
  RECT current;
  GetWindowRect(hwnd, &current);
  const RECT r = PlaceMainWindow({s.wleft, s.wtop, s.wwidth, s.wheight}, VirtualScreen(), WorkArea(),
                                 current.right - current.left);
  SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's own size and position go back into the settings before they are saved.
void RememberGeometry(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return;
  Settings& s = gApp.settings;
  s.wleft = r.left;
  s.wtop = r.top;
  s.wwidth = r.right - r.left;
  s.wheight = r.bottom - r.top;
}

// Lets Explorer running unelevated drop files on an elevated window (Vista and later).
void AllowDropsFromLowerIntegrity() {
  if (gApp.windows.code < kCodeWindowsVista) return;
  using FilterFn = BOOL(WINAPI*)(UINT, DWORD);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto filter = reinterpret_cast<FilterFn>(
      reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "ChangeWindowMessageFilter") : nullptr));
  if (!filter) return;
  constexpr UINT kCopyGlobalData = 0x0049;
  for (UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, kCopyGlobalData}) filter(message, MSGFLT_ADD);
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCTW) {
  gApp.mainWindow = hwnd;
  gApp.store = SettingsStore::Choose(ProgramFolder());
  gApp.firstStart = LoadSettings(*gApp.store, gApp.windows, gApp.settings).firstStart;
  // A second start hands its paths to the running instance and ends; automatic runs always run on
  // their own.
  if (!gApp.settings.multiple && !gApp.commandLine.IsAutomatic() && CheckOtherInstance(gApp.instanceMutex)) {
    HandOverPaths(hwnd, gApp.arguments, HandOverMessage());
    gApp.handedOver = true;
    return FALSE;
  }
  // The case conversions keep their exception words in the mode parameters; the box shows the
  // list of the conversion chosen.
  gApp.params.bsexcept0 = gApp.settings.bsexcept0;
  gApp.params.bsexcept1 = gApp.settings.bsexcept1;
  gApp.params.bsexcept2 = gApp.settings.bsexcept2;
  gApp.panel.exceptionText = ExceptionTextFor(gApp.params, gApp.panel.bigsmall);
  gApp.macroSlots = ReadMacroList(ProgramFolder(), MacroProgram::Main);
  // A run that was cut short (a crash, a power loss) left its log in slot 0: make it undoable now.
  RecoverOrphanedLog(ProgramFolder());
  PlaceWindow(hwnd);
  SetWindowTextW(hwnd, MainWindowTitle(gApp.settings.usejpname).c_str());
  gApp.listControl = CreateListControl(hwnd, gApp.settings);
  SetTimer(hwnd, kTimerFinishSetup, 35, nullptr);
  return TRUE;
}

AutoRunWork Work(HWND hwnd) {
  AutoRunWork work;
  work.list = &gApp.list;
  work.settings = &gApp.settings;
  work.windows = gApp.windows;
  work.panel = &gApp.panel;
  work.params = &gApp.params;
  work.state = &gApp.runState;
  work.sort = &gApp.sortState;
  work.playback = &gApp.playback;
  work.recorder = &gApp.recorder;
  work.macroSlots = &gApp.macroSlots;
  work.playbackView = PlaybackWindowView(hwnd, [hwnd] {
    AutoRunWork abortWork = Work(hwnd);
    gApp.playback.Abort(PlaybackHooksFor(gApp.commandLine, abortWork));
  });
  work.listChanged = [] { RefreshListControl(gApp.listControl, gApp.list); };
  work.playbackEnded = [] {
    RefreshListControl(gApp.listControl, gApp.list);
    // A macro run from the command line ends once its playback has ended.
    if (gApp.commandLine.IsAutomatic() && gApp.commandLine.ClosesAfterRun()) gApp.exitWatchdog = 10000;
  };
  work.programFolder = ProgramFolder();
  work.owner = hwnd;
  work.report = &gApp.autoRunReport;
  return work;
}

void FinishSetup(HWND hwnd) {
  LoadSettingsOnFirstShow(*gApp.store, gApp.settings);
  AllowDropsFromLowerIntegrity();
  if (gApp.commandLine.listTarget >= 0) gApp.settings.file_dir = gApp.commandLine.listTarget;
  if (gApp.commandLine.testMode) SetWindowTextW(hwnd, kTestModeTitle);
  SetTimer(hwnd, kTimerReadArguments, 100, nullptr);
}

void ReadArguments(HWND hwnd) {
  AutoRunWork work = Work(hwnd);
  const int delay = PrepareAutomaticRun(gApp.commandLine, work);
  RefreshListControl(gApp.listControl, gApp.list);
  if (gApp.commandLine.IsAutomatic()) SetTimer(hwnd, kTimerAutoRun, delay, nullptr);
}

void RunFromCommandLine(HWND hwnd) {
  const bool closes = gApp.commandLine.ClosesAfterRun();
  if (closes) SetTimer(hwnd, kTimerExitWatchdog, 500, nullptr);
  AutoRunWork work = Work(hwnd);
  RunAutomatic(gApp.commandLine, work);
  RefreshListControl(gApp.listControl, gApp.list);
  // The run is over (a macro run: unless its playback goes on): the next tick of the watchdog
  // closes the window.
  if (!gApp.playback.Running()) gApp.exitWatchdog = 10000;
}

// Every half second; closes the window once the run is done, or after about three minutes.
void TickExitWatchdog(HWND hwnd) {
  if (++gApp.exitWatchdog <= 360) return;
  KillTimer(hwnd, kTimerExitWatchdog);
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void OnTimer(HWND hwnd, UINT_PTR id) {
  if (id != kTimerExitWatchdog) KillTimer(hwnd, id);
  switch (id) {
    case kTimerFinishSetup: FinishSetup(hwnd); break;
    case kTimerReadArguments: ReadArguments(hwnd); break;
    case kTimerAutoRun: RunFromCommandLine(hwnd); break;
    case kTimerExitWatchdog: TickExitWatchdog(hwnd); break;
    case kTimerPlayback: {
      AutoRunWork work = Work(hwnd);
      TickPlayback(gApp.commandLine, work);
      break;
    }
    default: break;
  }
}

// Reads paths the way a drop does: into the list, with the settings' depth and filters.
ReadResult ReadPaths(HWND hwnd, const std::function<ReadResult(ListReader&)>& read) {
  ReadSettings readSettings = ReadSettingsFrom(gApp.settings, CommandLine{});
  ReadHooks hooks;
  hooks.owner = hwnd;
  hooks.markListChanged = [] { gApp.sortState.listChanged = true; };
  ListReader reader(gApp.list, readSettings, hooks);
  const ReadResult result = read(reader);
  KeepReadAnswers(readSettings, gApp.settings);
  return result;
}

void OnDropFiles(HWND hwnd, HDROP drop) {
  // Ignored while busy: a pass over the rows or a playback is under way.
  if (gApp.runState.passRunning || gApp.playback.Running()) {
    DragFinish(drop);
    return;
  }
  std::vector<std::wstring> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length, L'\0');
    DragQueryFileW(drop, i, path.data(), length + 1);
    paths.push_back(std::move(path));
  }
  DragFinish(drop);
  ReadPaths(hwnd, [&](ListReader& reader) { return reader.ReadDroppedItems(paths); });
  RefreshListControl(gApp.listControl, gApp.list);
}

// A second start handed over its paths: read them as drops, then come to the front.
void OnHandOver(HWND hwnd, WPARAM lowest, LPARAM highest) {
  HandOverRefusal refusal;
  refusal.undoMode = gApp.list.undoMode;
  refusal.macroPlayback = gApp.playback.Running();
  // An unattended run renames what its command line named, and nothing handed over meanwhile.
  refusal.busy = gApp.runState.passRunning || gApp.commandLine.IsAutomatic();
  const ReceiveResult result = ReceivePaths(lowest, highest, refusal, [&](const std::wstring& path) {
    const ReadResult read =
        ReadPaths(hwnd, [&](ListReader& reader) { return reader.ReadPathIntoList(path, false, false); });
    return read.outcome == ReadOutcome::LimitReached ? PathReadResult::kListFull : PathReadResult::kRoomForMore;
  });
  if (result.refused) return;
  if (result.pathsRead > 0) {
    ApplyFilter(gApp.list, FilterKind::ChangedOnly, gApp.panel.filterText);
    RefreshListControl(gApp.listControl, gApp.list);
  }
  BringWindowToFront(hwnd);
}

void OnSize(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  if (gApp.listControl) MoveWindow(gApp.listControl, 0, 0, client.right, client.bottom, TRUE);
}

void OnGetMinMaxInfo(MINMAXINFO* info) {
  const POINT size = MinimumTrackSize(GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYMENU),
                                      GetSystemMetrics(SM_CYFRAME));
  info->ptMinTrackSize = size;
}

void OnClose(HWND hwnd) {
  const bool normal = !IsZoomed(hwnd) && !IsIconic(hwnd);
  if (normal) RememberGeometry(hwnd);
  ShowWindow(hwnd, SW_HIDE);
  if (gApp.store) SaveSettings(*gApp.store, gApp.settings, SaveReason::Exit, normal);
  DestroyWindow(hwnd);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT handOverMessage = HandOverMessage();
  if (message == handOverMessage && handOverMessage != 0) {
    OnHandOver(hwnd, wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      return OnCreate(hwnd, reinterpret_cast<LPCREATESTRUCTW>(lParam)) ? 0 : -1;
    case WM_TIMER:
      OnTimer(hwnd, wParam);
      return 0;
    case WM_SIZE:
      OnSize(hwnd);
      return 0;
    case WM_NOTIFY:
      if (AnswerListRequest(reinterpret_cast<const NMHDR*>(lParam), gApp.list, gApp.settings)) return 0;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_DROPFILES:
      OnDropFiles(hwnd, reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_CLOSE:
      OnClose(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(gApp.commandLine.IsAutomatic() ? ExitCodeOf(gApp.autoRunReport) : 0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  return RegisterTopLevelClass(instance, kMainWindowClass, MainWindowProc, kIconResource);
}

HWND CreateMainWindow(HINSTANCE instance, bool hidden) {
  // The title is set once the settings say which name to show; the size is fixed at placement.
  return CreateWindowExW(WS_EX_ACCEPTFILES | (hidden ? WS_EX_NOACTIVATE : 0), kMainWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         CW_USEDEFAULT, CW_USEDEFAULT, 3200, 407, nullptr, nullptr, instance, nullptr);
}

}  // namespace korval
