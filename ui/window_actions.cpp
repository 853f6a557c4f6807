// The shared steps of the main window's handlers.
#include "ui/window_actions.h"

#include <commctrl.h>

#include <memory>

#include "engine/folder_prefetch.h"
#include "engine/list_filter.h"
#include "engine/list_selection.h"
#include "engine/show_message.h"
#include "modes/change_mode.h"
#include "platform/path_limits.h"
#include "resources/resource.h"
#include "ui/list_view.h"
#include "ui/panel_bindings.h"
#include "ui/run_context.h"
#include "ui/time_controls.h"
#include "ui/status_bar.h"
#include "ui/timers.h"

namespace korval {

MainWindowState* StateOf(HWND main) {
  return main ? reinterpret_cast<MainWindowState*>(GetWindowLongPtrW(main, GWLP_USERDATA)) : nullptr;
}

void RefreshList(Workspace& work, const Frame& frame) {
  RefreshListControl(frame.list, work.list);
  ShowStatusHint(work, frame, kHintCounterOnly);
}

void PushSelection(const Workspace& work, const Frame& frame) {
  if (!frame.list) return;
  // The list redraws once at the end: item by item it takes seconds for 50,000 rows.
  struct Pushing {
    const Frame& f;
    explicit Pushing(const Frame& frame) : f(frame) {
      f.pushingSelection = true;
      SendMessageW(f.list, WM_SETREDRAW, FALSE, 0);
    }
    ~Pushing() {
      SendMessageW(f.list, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(f.list, nullptr, FALSE);
      f.pushingSelection = false;
    }
  } pushing(frame);
  const size_t count = work.list.Count();
  size_t selected = 0;
  for (size_t i = 0; i < count; ++i) selected += work.list.Row(i).selected ? 1 : 0;
  // All or none in one call: the control walks every row for each such call.
  if (selected == count || selected == 0) {
    ListView_SetItemState(frame.list, -1, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    return;
  }
  ListView_SetItemState(frame.list, -1, 0, LVIS_SELECTED);
  for (size_t i = 0; i < count; ++i) {
    if (work.list.Row(i).selected) ListView_SetItemState(frame.list, static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
  }
}

void ShowPreviewMark(const Workspace& work, const Frame& frame) {
  if (HWND mark = frame.Item(IDC_PREVIEW_MARK)) {
    ShowWindow(mark, work.run.previewed || work.UndoMode() ? SW_HIDE : SW_SHOW);
  }
}

void MarkPreviewStale(Workspace& work, const Frame& frame) {
  work.run.previewed = false;
  work.run.enterExecutes = false;
  work.run.editedInTextEditor = false;
  ShowPreviewMark(work, frame);
}

void SetBusy(Workspace& work, const Frame& frame) {
  work.busy = true;
  SetTimer(frame.main, kTimerBusy, 100, nullptr);
}

void SetPositionSample(Workspace& work, const Frame& frame) {
  const RenameItem* longest = nullptr;
  for (const RenameItem& row : work.list.Rows()) {
    if (!longest || row.oldName.size() > longest->oldName.size()) longest = &row;
  }
  SetPositionSampleText(work, frame, longest ? longest->oldName : L"");
}

void SetPositionSampleText(Workspace& work, const Frame& frame, const std::wstring& sample) {
  SetPositionSample(work.positionMap, sample);
  work.panel.positionText = work.positionMap.previousText;
  work.panel.positionMap = work.positionMap.map;
  const bool was = work.fillingPanel;
  work.fillingPanel = true;
  if (HWND box = frame.Item(IDC_POSITION_TEXT)) SetWindowTextW(box, work.panel.positionText.c_str());
  work.fillingPanel = was;
  MarkPreviewStale(work, frame);
}

ReadResult ReadIntoList(Workspace& work, Frame& frame, const std::function<ReadResult(ListReader&)>& read) {
  ReadSettings readSettings = ReadSettingsFrom(work.settings, CommandLine{});
  readSettings.folderreadWorking = work.folderreadWorking;
  ReadHooks hooks;
  DWORD lastAnswer = 0;
  int answers = 0;
  hooks.refreshCounter = [&] {
    // A read adds thousands of rows a second: messages sent by other programs are answered every
    // 25 ms, and the counter is redrawn every fourth time.
    const DWORD now = GetTickCount();
    if (now - lastAnswer < 25) return;
    lastAnswer = now;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (++answers % 4 != 0) return;
    ShowStatusHint(work, frame, kHintCounterOnly);
    UpdateWindow(frame.status);
  };
  hooks.showReadingHint = [&] {
    // Asked every few files: the hint is set once, since showing it counts the selected rows.
    if (work.hint != kHintReading) ShowStatusHint(work, frame, kHintReading);
    hooks.refreshCounter();
  };
  hooks.bringToFront = [&] { SetForegroundWindow(frame.main); };
  hooks.markListChanged = [&] { work.sort.listChanged = true; };
  hooks.previewOutOfDate = [&] { MarkPreviewStale(work, frame); };
  hooks.positionSample = [&](const std::wstring& longest) { SetPositionSampleText(work, frame, longest); };
  hooks.idleHint = [&] { ShowStatusHint(work, frame, ModeHint(work.Mode())); };
  // The folders listed are kept for the previews; a read into an empty list starts them anew.
  if (work.list.Empty()) work.listings.Clear();
  // The folders a read goes into next are listed on another thread while it makes the rows of the
  // one before (a tree read takes the time of its listings, not of listings and rows).
  FolderPrefetch ahead(std::make_unique<Win32FileSystem>());
  hooks.foldersAhead = [&ahead](const std::vector<std::wstring>& folders) { ahead.Announce(folders); };
  hooks.listFolder = [&work, &ahead](const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& entries) {
    FolderListing listed;
    if (ahead.Take(folder, listed, entries)) return work.listings.Keep(folder, std::move(listed), entries);
    return work.listings.List(folder, entries);
  };
  hooks.clearList = [&work] {
    work.list.Clear();
    work.listings.Clear();
  };
  ListReader reader(work.list, readSettings, hooks);
  const ReadResult result = read(reader);
  // The user's answers during the read (row limit, list target, folder reading) are kept.
  KeepReadAnswers(readSettings, work.settings);
  work.folderreadWorking = readSettings.folderreadWorking;
  RefreshList(work, frame);
  return result;
}

void ResetNames(Workspace& work, Frame& frame) {
  KillTimer(frame.main, kTimerLivePreview);  // the names typed for are gone: none follow
  ReadIntoList(work, frame, [](ListReader& reader) { return reader.ReadDroppedItems({}); });
  ApplyFilter(work.list, FilterKind::Full, work.panel.filterText);
  RefreshList(work, frame);
}

void CollectPanel(Workspace& work, const Frame& frame) {
  ReadPanel(frame, work.panel);
  ReadTimeControls(frame, work.panel);
  work.panel.positionMap = work.positionMap.map;
}

namespace {

// Asked between the rows of a pass: an Esc the user pressed meanwhile waits in the queue. It stays
// there, so once the pass has stopped it empties the names as it always does.
bool EscapeWaiting() {
  MSG message;
  return PeekMessageW(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && message.wParam == VK_ESCAPE;
}

}  // namespace

std::function<void(int percent)> ProgressBarMover(const Frame& frame) {
  return [&frame, movedAt = ULONGLONG{0}](int percent) mutable {
    const ULONGLONG now = GetTickCount64();
    if (percent != 0 && percent != 100 && now - movedAt < kProgressStepMs) return;
    movedAt = now;
    if (frame.progress) SendMessageW(frame.progress, PBM_SETPOS, percent, 0);
  };
}

int RunPass(Workspace& work, Frame& frame, RunKind kind, RunReport* report) {
  KillTimer(frame.main, kTimerLivePreview);  // this pass takes the place of the one typing asked for
  CollectPanel(work, frame);
  ExecuteContext c = ContextFor(work.commandLine, work.autoWork, work.Mode());
  c.histories.switches = work.settings.inputlog;
  c.histories.replaceFrom = &work.settings.replaceFromHistory;
  c.histories.replaceTo = &work.settings.replaceToHistory;
  c.histories.extension = &work.settings.extHistory;
  c.histories.serial = &work.settings.serialHistory;
  c.histories.addText = &work.settings.addHistory;
  c.histories.filter = &work.settings.filterHistory;
  c.progress = ProgressBarMover(frame);
  c.interrupted = EscapeWaiting;
  RunReport local;
  RunReport& done = report ? *report : local;
  const int result = ExecuteChanges(kind, c, &done);
  // A preview that found a name the system refuses says which and why; otherwise the mode's hint.
  work.passHint = done.hint.empty() ? L"" : L" " + done.hint;
  ShowStatusHint(work, frame, work.passHint.empty() ? ModeHint(work.Mode()) : kHintPassText);
  // What the pass corrected (counts, maxima) shows in the boxes; the histories took the texts.
  WritePanel(work, frame);
  ShowInputHistories(work, frame);
  RefreshList(work, frame);
  ShowPreviewMark(work, frame);
  return result;
}

}  // namespace korval
