// Display scaling. Both programs declare themselves per-monitor aware, so the system scales none of
// their pixel sizes: every size the programs use is a size at 96 dots per inch, scaled here to the
// DPI of the window it is used in.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace korval {

inline constexpr int kBaseDpi = 96;

// The DPI of the monitor the window is on: GetDpiForWindow where the system has it (Windows 10),
// otherwise the screen's logical pixels per inch (Windows 7 and 8).
int WindowDpi(HWND window);

// A size given at 96 DPI, at the given DPI (rounded to the nearest pixel).
inline int ScaleToDpi(int pixelsAt96, int dpi) { return MulDiv(pixelsAt96, dpi, kBaseDpi); }

// A size in pixels at one DPI, at another: a window moved between monitors keeps its proportions.
inline int RescaleDpi(int pixels, int fromDpi, int toDpi) { return fromDpi > 0 ? MulDiv(pixels, toDpi, fromDpi) : pixels; }

// A system metric at the given DPI (GetSystemMetricsForDpi where the system has it).
int SystemMetricForDpi(int index, int dpi);

// The side of the small pictures (toolbar, status icons) at the DPI: 16, 24 or 32 pixels, the
// largest drawn size that is not larger than 16 pixels scaled, so a picture is never blurred.
int IconSizeForDpi(int dpi);

// Of three bitmaps drawn at 16, 24 and 32 pixels (resource ids id16, id16 + 100 and id16 + 200), the
// one for the DPI.
int BitmapIdForDpi(int id16, int dpi);

// The bitmap id16 at the DPI's size (see BitmapIdForDpi), as an image list of square pictures,
// transparent where the bitmap has the mask colour; the caller owns it.
HIMAGELIST LoadImageListForDpi(HINSTANCE instance, int id16, int dpi, COLORREF mask);

// A copy of the font with its height scaled from one DPI to another; the caller owns it.
HFONT RescaleFont(HFONT font, int fromDpi, int toDpi);

// Gives every child of the window the font (after a change of DPI).
void SetFontOfChildren(HWND parent, HFONT font);

// Tells the system not to rescale the dialog by itself when its DPI changes (Windows 10 1803 and
// later), for dialogs whose program lays them out again itself.
void KeepDialogFromSystemScaling(HWND dialog);

}  // namespace korval
