// What nearly every file of the programs parses: precompiled once, reused by every product target.
// Only the system's headers: declarations read from a precompiled header lose their mark as a system
// header's, and GCC 12 then warns at -O3 of bounds that std::wstring's inlined copies never cross.
#include <windows.h>
#include <commctrl.h>
