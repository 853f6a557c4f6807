// The macro playback window.
#include "ui/playback_window.h"

#include <string>

#include "platform/dpi.h"

namespace korval {
namespace {

constexpr int kWidth = 240, kHeight = 120;
constexpr int kAbortButtonId = IDCANCEL;

struct PlaybackWindowState {
  HWND window = nullptr;
  HWND status = nullptr;
  HWND abortButton = nullptr;
  HWND owner = nullptr;
  std::function<void()> abort;
};
PlaybackWindowState gWindow;

LRESULT CALLBACK PlaybackWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_CLOSE: {
      if (message == WM_COMMAND && LOWORD(wParam) != kAbortButtonId) return 0;
      // While a step is previewed the button is disabled; closing the window waits as well.
      if (gWindow.abortButton && !IsWindowEnabled(gWindow.abortButton)) return 0;
      // A copy: the call may hand a new callback to the window while this one runs.
      const std::function<void()> abort = gWindow.abort;
      if (abort) abort();
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// The owner answers with the font of the program's texts.
HFONT DialogFont(HWND owner) {
  auto font = owner ? reinterpret_cast<HFONT>(SendMessageW(owner, WM_GETFONT, 0, 0)) : nullptr;
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& at, int id) {
  HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top, at.right - at.left,
                               at.bottom - at.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(gWindow.owner)), TRUE);
  return child;
}

void Open(HWND owner) {
  if (gWindow.window) return;
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PlaybackWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPlaybackWindowClass;
    return RegisterClassExW(&wc) != 0;
  }();
  if (!registered) return;
  // Its top left corner lies 100 pixels left of and 50 pixels above the main window's centre; the
  // sizes are at 96 DPI.
  const int dpi = WindowDpi(owner);
  auto px = [dpi](int size) { return ScaleToDpi(size, dpi); };
  RECT ownerRect{0, 0, 0, 0};
  if (owner) GetWindowRect(owner, &ownerRect);
  const int x = (ownerRect.left + ownerRect.right) / 2 - px(100);
  const int y = (ownerRect.top + ownerRect.bottom) / 2 - px(50);
  gWindow.owner = owner;
  gWindow.window = CreateWindowExW(WS_EX_DLGMODALFRAME, kPlaybackWindowClass, kPlaybackTitle,
                                   WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y, px(kWidth), px(kHeight), owner, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  if (!gWindow.window) return;
  RECT client;
  GetClientRect(gWindow.window, &client);
  const int width = client.right - client.left;
  Child(gWindow.window, L"STATIC", kPlaybackTitle, SS_CENTER, {px(8), px(8), width - px(8), px(26)}, -1);
  gWindow.status = Child(gWindow.window, L"STATIC", L"", SS_LEFT, {px(8), px(30), width - px(8), px(48)}, -1);
  const int buttonLeft = (width - px(80)) / 2;
  gWindow.abortButton = Child(gWindow.window, L"BUTTON", kPlaybackAbortLabel, BS_DEFPUSHBUTTON | WS_TABSTOP,
                              {buttonLeft, px(54), buttonLeft + px(80), px(78)}, kAbortButtonId);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(gWindow.window, SW_SHOWNORMAL);
}

void Close() {
  if (!gWindow.window) return;
  // The owner is enabled before the window goes, so that the activation returns to it.
  if (gWindow.owner) EnableWindow(gWindow.owner, TRUE);
  DestroyWindow(gWindow.window);
  gWindow.window = gWindow.status = gWindow.abortButton = nullptr;
}

}  // namespace

PlaybackView PlaybackWindowView(HWND owner, std::function<void()> abort) {
  gWindow.abort = std::move(abort);
  PlaybackView view;
  view.open = [owner] { Open(owner); };
  view.close = [] { Close(); };
  view.status = [](const std::wstring& text) {
    if (gWindow.status) SetWindowTextW(gWindow.status, text.c_str());
  };
  view.enableAbort = [](bool enable) {
    if (gWindow.abortButton) EnableWindow(gWindow.abortButton, enable);
  };
  return view;
}

}  // namespace korval
