// Redrawing with the children's frames.
#include "platform/redraw.h"

namespace korval {

void RedrawWithFrames(HWND window, const RECT* area) {
  if (window) RedrawWindow(window, area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace korval
