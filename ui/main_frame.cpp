// Building and laying out the main window's parts.
#include "ui/main_frame.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/dpi.h"
#include "resources/resource.h"
#include "ui/display_scaling.h"
#include "ui/command_table.h"
#include "ui/folder_tree.h"
#include "ui/list_appearance.h"
#include "ui/list_view.h"
#include "ui/main_dialog.h"
#include "ui/split_window.h"
#include "ui/status_bar.h"
#include "ui/target_picture.h"
#include "ui/toolbar.h"
#include "ui/window_actions.h"

namespace korval {
namespace {

bool ToolbarShown(const Settings& s) { return (s.dispcontrols & 3) != 0; }
bool StatusBarShown(const Settings& s) { return (s.dispcontrols & 4) != 0; }
bool TreeShown(const Settings& s) { return (s.dispcontrols & 8) != 0; }

void Check(HMENU menu, int command, bool on) {
  CheckMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

// With the tree: bar of half-width 3 at `treewidth`; without: the list alone, the position kept.
void ShowTreePane(Workspace& work, Frame& frame) {
  const bool shown = TreeShown(work.settings);
  if (shown && !frame.tree) {
    frame.tree = CreateFolderTree(frame.splitter);
    SendMessageW(frame.tree, WM_SETFONT, reinterpret_cast<WPARAM>(frame.Font()), FALSE);
    // At the start the shell's namespace is read after the first paint (the set-up fills it).
    if (frame.setUpFinished) FillFolderTree(frame.tree);
  }
  SplitPanes panes{shown ? frame.tree : nullptr, frame.list};
  if (!shown && frame.tree) {
    const int position = static_cast<int>(SendMessageW(frame.splitter, kSplitGetPosition, 0, 0));
    if (SendMessageW(frame.splitter, kSplitGetHalfWidth, 0, 0) > 0 && position > 0) work.settings.treewidth = position;
    ShowWindow(frame.tree, SW_HIDE);
  }
  if (shown && frame.tree) ShowWindow(frame.tree, SW_SHOW);
  SendMessageW(frame.splitter, kSplitSetHalfWidth, 0, shown ? ScaleToDpi(kSplitterHalfWidth, frame.dpi) : 0);
  SendMessageW(frame.splitter, kSplitSetPosition, 0, shown ? TreeWidth(work.settings, frame.dpi) : 0);
  SendMessageW(frame.splitter, kSplitSetPanes, 1, reinterpret_cast<LPARAM>(&panes));
}

}  // namespace

bool CreateFrameParts(MainWindowState* state) {
  Workspace& work = state->work;
  Frame& frame = state->frame;
  if (!CreateMainDialog(state)) return false;
  frame.status = CreateStatusBar(frame.main, frame.dpi);
  frame.toolbar = CreateToolbar(frame.main, frame.dpi);
  frame.splitter = CreateSplitWindow(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, frame.dialog,
                                     IDC_SPLITTER, TreeWidth(work.settings, frame.dpi));
  if (!frame.splitter) return false;
  frame.list = CreateListControl(frame.splitter, work.settings);
  // The parts made in code take the dialog's font, which the template made for the window's DPI.
  for (HWND part : {frame.list, frame.status}) SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(frame.Font()), FALSE);
  SetListFont(frame.list, work.settings.listfont, frame.listFont);
  LoadFramePictures(frame);
  WatchTargetPictureHover(frame.Item(IDC_TARGET_PICTURE));
  ApplyDisplayFlags(work, frame);
  return frame.list != nullptr;
}

void LayoutFrame(const Workspace& work, const Frame& frame) {
  if (frame.holdLayout) return;
  RECT client;
  GetClientRect(frame.main, &client);
  int top = 0, bottom = client.bottom;
  if (frame.toolbar && ToolbarShown(work.settings)) {
    top = ScaleToDpi(kToolbarHeight, frame.dpi);
    MoveWindow(frame.toolbar, 0, 0, client.right, top, TRUE);
  }
  if (frame.status && StatusBarShown(work.settings)) {
    LayoutStatusBar(frame.status, frame.dpi);
    RECT r;
    GetWindowRect(frame.status, &r);
    bottom -= r.bottom - r.top;
  }
  if (frame.dialog) MoveWindow(frame.dialog, 0, top, client.right, std::max(0, bottom - top), TRUE);
}

void ApplyDisplayFlags(Workspace& work, Frame& frame) {
  const Settings& s = work.settings;
  if (frame.toolbar) ShowWindow(frame.toolbar, ToolbarShown(s) ? SW_SHOW : SW_HIDE);
  if (frame.status) ShowWindow(frame.status, StatusBarShown(s) ? SW_SHOW : SW_HIDE);
  if (frame.splitter) ShowTreePane(work, frame);
  SetToolbarButtonPressed(frame.toolbar, IDM_TOGGLE_TREE, TreeShown(s));
  ShowMenuChecks(work, frame);
  LayoutFrame(work, frame);
  // A status bar shown again shows the current texts.
  work.shownHint.clear();
  work.shownCounter.clear();
  ShowStatusHint(work, frame, kHintKeep);
}

void ApplyTopmost(const Workspace& work, const Frame& frame) {
  SetWindowPos(frame.main, work.settings.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowMenuChecks(work, frame);
}

void ShowMenuChecks(const Workspace& work, const Frame& frame) {
  HMENU menu = GetMenu(frame.main);
  const Settings& s = work.settings;
  Check(menu, IDM_TOGGLE_TOOLBAR, ToolbarShown(s));
  Check(menu, IDM_TOGGLE_STATUS_BAR, StatusBarShown(s));
  Check(menu, IDM_TOGGLE_TREE, TreeShown(s));
  Check(menu, IDM_TOPMOST, s.topmost != 0);
  Check(menu, IDM_LIVE_PREVIEW, s.livepreview != 0);
  Check(menu, IDM_HISTORY_FILTER, (s.inputlog & kLogFilter) != 0);
  Check(menu, IDM_HISTORY_REPLACE, (s.inputlog & kLogReplace) != 0);
  Check(menu, IDM_HISTORY_OTHER, (s.inputlog & kLogOther) != 0);
  Check(menu, IDM_UNDO_MODE, work.UndoMode());
  Check(menu, IDM_SHELL_VERB, s.shellVerbInstalled);
  ShowListTarget(work, frame);
}

void OnTreeFolderSelected(Workspace& work, Frame& frame, const std::wstring& path) {
  if (work.UndoMode() || work.Playing() || work.run.passRunning || work.Automatic()) return;
  if (path.empty()) {
    work.list.Clear();
    RefreshList(work, frame);
    return;
  }
  ReadIntoList(work, frame, [&](ListReader& reader) { return reader.ReadPathIntoList(path, true, true); });
}

}  // namespace korval
