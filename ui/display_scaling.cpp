// The main window's parts scaled to the DPI of its monitor.
#include "ui/display_scaling.h"

#include <commctrl.h>

#include "platform/dpi.h"
#include "resources/resource.h"
#include "ui/command_table.h"
#include "ui/list_appearance.h"
#include "ui/list_view.h"
#include "ui/main_frame.h"
#include "ui/split_window.h"
#include "ui/toolbar.h"

namespace korval {
namespace {

HBITMAP LoadPicture(HINSTANCE instance, int id16, int dpi) {
  return static_cast<HBITMAP>(
      LoadImageW(instance, MAKEINTRESOURCEW(BitmapIdForDpi(id16, dpi)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// A picture control's image; the one it had is freed when the template made it (not one of ours).
void ShowPicture(HWND control, HBITMAP picture, const HBITMAP ours[], int count) {
  if (!control) return;
  auto old = reinterpret_cast<HBITMAP>(SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
  for (int i = 0; i < count; ++i) {
    if (old == ours[i]) return;
  }
  if (old) DeleteObject(old);
}

// The dialog's font at the new DPI for the dialog's controls and the parts made in code; made anew
// from the template's font each time, so that a way over several monitors adds no rounding.
void RescaleFonts(const Workspace& work, Frame& frame) {
  HFONT made = frame.dpi == frame.baseDpi ? nullptr : RescaleFont(frame.templateFont, frame.baseDpi, frame.dpi);
  HFONT font = made ? made : frame.templateFont;
  SetFontOfChildren(frame.dialog, font);
  for (HWND part : {frame.list, frame.tree, frame.status}) {
    if (part) SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (frame.dialogFont) DeleteObject(frame.dialogFont);
  frame.dialogFont = made;
  SetListFont(frame.list, work.settings.listfont, frame.listFont);
}

void RescaleColumns(HWND list, int from, int to) {
  HWND header = list ? ListView_GetHeader(list) : nullptr;
  const int columns = header ? Header_GetItemCount(header) : 0;
  for (int i = 0; i < columns; ++i) {
    ListView_SetColumnWidth(list, i, RescaleDpi(ListView_GetColumnWidth(list, i), from, to));
  }
}

}  // namespace

int TreeWidth(const Settings& settings, int dpi) {
  return settings.treewidth == kDefaultTreeWidth ? ScaleToDpi(kDefaultTreeWidth, dpi) : settings.treewidth;
}

void LoadFramePictures(Frame& frame) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(frame.main, GWLP_HINSTANCE));
  const HBITMAP old[3] = {frame.targetPictures[0], frame.targetPictures[1], frame.previewMark};
  frame.targetPictures[0] = LoadPicture(instance, IDB_TARGET_FILES, frame.dpi);
  frame.targetPictures[1] = LoadPicture(instance, IDB_TARGET_FOLDERS, frame.dpi);
  frame.previewMark = LoadPicture(instance, IDB_PREVIEW_MARK, frame.dpi);
  ShowPicture(frame.Item(IDC_TARGET_PICTURE), frame.targetPictures[0], old, 3);  // ShowListTarget picks
  ShowPicture(frame.Item(IDC_PREVIEW_MARK), frame.previewMark, old, 3);
  for (HBITMAP picture : old) {
    if (picture) DeleteObject(picture);
  }
}

void FreeFramePictures(Frame& frame) {
  for (HBITMAP& picture : frame.targetPictures) {
    if (picture) DeleteObject(picture);
    picture = nullptr;
  }
  if (frame.previewMark) DeleteObject(frame.previewMark);
  frame.previewMark = nullptr;
  SetToolbarImages(frame.toolbar, 0);
  if (frame.dialogFont) DeleteObject(frame.dialogFont);
  frame.dialogFont = nullptr;
}

void OnDpiChanged(Workspace& work, Frame& frame, int dpi, const RECT& suggested) {
  const int from = frame.dpi;
  if (dpi > 0 && dpi != from) {
    frame.dpi = dpi;
    RescaleFonts(work, frame);
    RescaleColumns(frame.list, from, dpi);
    SetToolbarImages(frame.toolbar, dpi);
    SetStatusIcons(frame.list, dpi);
    LoadFramePictures(frame);
    ShowListTarget(work, frame);
    if (frame.splitter && SendMessageW(frame.splitter, kSplitGetHalfWidth, 0, 0) > 0) {
      SendMessageW(frame.splitter, kSplitSetHalfWidth, 0, ScaleToDpi(kSplitterHalfWidth, dpi));
      const auto position = static_cast<int>(SendMessageW(frame.splitter, kSplitGetPosition, 0, 0));
      SendMessageW(frame.splitter, kSplitSetPosition, 0, RescaleDpi(position, from, dpi));
    }
  }
  SetWindowPos(frame.main, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutFrame(work, frame);
}

}  // namespace korval
