// Display scaling helpers; the functions of newer systems are looked up at run time.
#include "platform/dpi.h"


namespace korval {
namespace {

template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(user32 ? GetProcAddress(user32, name) : nullptr));
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int WindowDpi(HWND window) {
  using DpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = User32Function<DpiForWindowFn>("GetDpiForWindow");
  if (dpiForWindow && window) {
    const UINT dpi = dpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  using MetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto metricsForDpi = User32Function<MetricsForDpiFn>("GetSystemMetricsForDpi");
  if (metricsForDpi) return metricsForDpi(index, static_cast<UINT>(dpi));
  // Older systems give the metrics of the system DPI, which is the only DPI they know.
  return GetSystemMetrics(index);
}

int IconSizeForDpi(int dpi) {
  const int wanted = ScaleToDpi(16, dpi);
  return wanted >= 32 ? 32 : wanted >= 24 ? 24 : 16;
}

int BitmapIdForDpi(int id16, int dpi) { return id16 + 100 * ((IconSizeForDpi(dpi) - 16) / 8); }

HIMAGELIST LoadImageListForDpi(HINSTANCE instance, int id16, int dpi, COLORREF mask) {
  return ImageList_LoadImageW(instance, MAKEINTRESOURCEW(BitmapIdForDpi(id16, dpi)), IconSizeForDpi(dpi), 0, mask,
                              IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

HFONT RescaleFont(HFONT font, int fromDpi, int toDpi) {
  LOGFONTW face{};
  if (!font || !GetObjectW(font, sizeof(face), &face)) return nullptr;
  face.lfHeight = RescaleDpi(face.lfHeight, fromDpi, toDpi);
  face.lfWidth = RescaleDpi(face.lfWidth, fromDpi, toDpi);
  return CreateFontIndirectW(&face);
}

void SetFontOfChildren(HWND parent, HFONT font) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void KeepDialogFromSystemScaling(HWND dialog) {
  using BehaviorFn = BOOL(WINAPI*)(HWND, int, int);
  static const auto setBehavior = User32Function<BehaviorFn>("SetDialogDpiChangeBehavior");
  constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
  if (setBehavior && dialog) setBehavior(dialog, kDisableAll, kDisableAll);
}

}  // namespace korval
