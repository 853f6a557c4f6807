// The files/folders picture (1558) acts as a button: a click toggles the list target, and it lights
// up while the mouse is over it.
#pragma once

#include <windows.h>

namespace korval {

// Makes the picture light up under the mouse.
void WatchTargetPictureHover(HWND picture);

// Whether the picture shows lit up now.
bool TargetPictureLit(HWND picture);

}  // namespace korval
