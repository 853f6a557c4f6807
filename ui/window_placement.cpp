// Main window placement rules.
#include "ui/window_placement.h"

namespace korval {
namespace {

bool MostlyOffScreen(const SavedPlacement& s, const RECT& screen) {
  const int screenWidth = screen.right - screen.left;
  const int screenHeight = screen.bottom - screen.top;
  return s.left + s.width < -10 || s.top + s.height < -10 || s.width / 2 + s.left - 10 > screenWidth ||
         s.height / 2 + s.top - 10 > screenHeight;
}

}  // namespace

RECT PlaceMainWindow(const SavedPlacement& saved, const RECT& virtualScreen, const RECT& workArea, int currentWidth) {
  if (saved.width >= 0 && saved.height >= 0 && !MostlyOffScreen(saved, virtualScreen)) {
    return RECT{saved.left, saved.top, saved.left + saved.width, saved.top + saved.height};
  }
  const int deskWidth = workArea.right - workArea.left;
  const int deskHeight = workArea.bottom - workArea.top;
  const int width = currentWidth >= deskWidth ? kDefaultWindowWidth : currentWidth;
  const int height = kDefaultWindowHeight;
  const int left = workArea.left + (deskWidth - width) / 2;
  const int top = workArea.top + (deskHeight - height) / 2;
  return RECT{left, top, left + width, top + height};
}

POINT MinimumTrackSize(int captionHeight, int menuHeight, int frameHeight) {
  int height = 287 + captionHeight + menuHeight + frameHeight;
  const bool odd = captionHeight < 1 || captionHeight > 100 || menuHeight < 1 || menuHeight > 100 || frameHeight < 0 ||
                   frameHeight > 20;
  if (odd) height += 40;
  return POINT{765, height};
}

}  // namespace korval
