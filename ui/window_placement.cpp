// Main window placement rules.
#include "ui/window_placement.h"

#include <algorithm>

#include "platform/dpi.h"

namespace korval {
namespace {

bool MostlyOffScreen(const SavedPlacement& s, const RECT& screen) {
  const int screenWidth = screen.right - screen.left;
  const int screenHeight = screen.bottom - screen.top;
  return s.left + s.width < -10 || s.top + s.height < -10 || s.width / 2 + s.left - 10 > screenWidth ||
         s.height / 2 + s.top - 10 > screenHeight;
}

}  // namespace

RECT PlaceMainWindow(const SavedPlacement& saved, const RECT& virtualScreen, const RECT& workArea, int currentWidth,
                     int dpi, POINT minimum) {
  if (saved.width >= 0 && saved.height >= 0 && !MostlyOffScreen(saved, virtualScreen)) {
    const int width = std::max(saved.width, static_cast<int>(minimum.x));
    const int height = std::max(saved.height, static_cast<int>(minimum.y));
    return RECT{saved.left, saved.top, saved.left + width, saved.top + height};
  }
  const int deskWidth = workArea.right - workArea.left;
  const int deskHeight = workArea.bottom - workArea.top;
  const int width = currentWidth >= deskWidth ? ScaleToDpi(kDefaultWindowWidth, dpi) : currentWidth;
  const int height = ScaleToDpi(kDefaultWindowHeight, dpi);
  const int left = workArea.left + (deskWidth - width) / 2;
  const int top = workArea.top + (deskHeight - height) / 2;
  return RECT{left, top, left + width, top + height};
}

POINT MinimumTrackSize(int dpi, int captionHeight, int menuHeight, int frameHeight) {
  int height = ScaleToDpi(287, dpi) + captionHeight + menuHeight + frameHeight;
  const bool odd = captionHeight < 1 || captionHeight > 100 || menuHeight < 1 || menuHeight > 100 || frameHeight < 0 ||
                   frameHeight > 20;
  if (odd) height += ScaleToDpi(40, dpi);
  return POINT{ScaleToDpi(765, dpi), height};
}

void KeepOnWorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT r;
  if (!GetWindowRect(window, &r) || !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  const int left = std::max(work.left, std::min(r.left, work.right - (r.right - r.left)));
  const int top = std::max(work.top, std::min(r.top, work.bottom - (r.bottom - r.top)));
  if (left != r.left || top != r.top) SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace korval
