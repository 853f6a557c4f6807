// The thread's COM apartment, entered when first needed: shortcuts, the shell's namespace and its
// dialogs go through COM, and entering it (with the libraries that come with it) before the main
// window shows would cost the start some milliseconds.
#pragma once

namespace korval {

// Enters a single-threaded apartment on the calling thread, once; later calls return at once.
void EnterComApartment();

}  // namespace korval
