// The small window shown while a macro plays: "◆　マクロ再生中　◆", the step being previewed and
// the "中止" button. The main window stays disabled while it is open, as under a modal dialog, and
// the playback timer keeps running.
#pragma once

#include <windows.h>

#include <functional>

#include "macro/playback.h"

namespace korval {

inline constexpr const wchar_t* kPlaybackWindowClass = L"KorvalithPlayback";

// The view the playback drives; abort is called when the user presses "中止" or closes the window.
PlaybackView PlaybackWindowView(HWND owner, std::function<void()> abort);

}  // namespace korval
