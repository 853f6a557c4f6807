// The timers of the main window, all in one place.
#pragma once

#include <windows.h>

namespace korval {

inline constexpr UINT_PTR kTimerFinishSetup = 1500;    // after the first paints: the rest of the set-up
inline constexpr UINT_PTR kTimerBusy = 1501;           // clears the busy flag after 100 ms
inline constexpr UINT_PTR kTimerPlayback = 1502;       // paces macro playback
inline constexpr UINT_PTR kTimerClock = 1503;          // the "現在時刻" time control
inline constexpr UINT_PTR kTimerReadArguments = 1504;  // 100 ms after 1500: the command line's paths
inline constexpr UINT_PTR kTimerAutoRun = 1505;        // the automatic run itself
inline constexpr UINT_PTR kTimerExitWatchdog = 1506;   // closes an automatic run that is done or stuck
inline constexpr UINT_PTR kTimerCounter = 1507;        // the counter after a burst of selection changes
inline constexpr UINT_PTR kTimerLivePreview = 1508;    // the new names, once typing pauses
inline constexpr UINT_PTR kTimerCloseWhenFree = 1509;  // a close that waits for a pass or a box to end
inline constexpr UINT_PTR kTimerDiskCheck = 1510;      // every 300 ms: did a listed folder change outside?
inline constexpr UINT_PTR kTimerTakeHeld = 1511;       // handed-over paths kept while busy, read once free

}  // namespace korval
