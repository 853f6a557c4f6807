// The editor window's first place on the desktop.
#include "macroedit/editor_placement.h"

#include <algorithm>

#include "platform/dpi.h"

namespace korval {
namespace {

constexpr int kSlack = 10;

}  // namespace

RECT PlaceEditorWindow(int left, int top, int width, int height, const RECT& desktop, int dpi) {
  const int desktopWidth = desktop.right - desktop.left, desktopHeight = desktop.bottom - desktop.top;
  const bool stored = left >= 0 && top >= 0 && width > 0 && height > 0;
  if (stored && left >= -kSlack && top >= -kSlack && left + width <= desktop.right + kSlack &&
      top + height <= desktop.bottom + kSlack) {
    return RECT{left, top, left + width, top + height};
  }
  const bool widthFits = width > 0 && width <= desktopWidth;
  const int w = widthFits ? width : std::min(ScaleToDpi(kEditorMaxDefaultWidth, dpi), desktopWidth);
  const int h = std::min(ScaleToDpi(kEditorDefaultHeight, dpi), desktopHeight);
  const int x = desktop.left + (desktopWidth - w) / 2, y = desktop.top + (desktopHeight - h) / 2;
  return RECT{x, y, x + w, y + h};
}

}  // namespace korval
