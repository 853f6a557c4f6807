// The macro playback window.
#include "ui/playback_window.h"

#include <string>

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

HFONT DialogFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id) {
  HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), TRUE);
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
  // Its top left corner lies 100 pixels left of and 50 pixels above the main window's centre.
  RECT ownerRect{0, 0, 0, 0};
  if (owner) GetWindowRect(owner, &ownerRect);
  const int x = (ownerRect.left + ownerRect.right) / 2 - 100;
  const int y = (ownerRect.top + ownerRect.bottom) / 2 - 50;
  gWindow.owner = owner;
  gWindow.window = CreateWindowExW(WS_EX_DLGMODALFRAME, kPlaybackWindowClass, kPlaybackTitle,
                                   WS_POPUP | WS_CAPTION | WS_SYSMENU, x, y, kWidth, kHeight, owner, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  if (!gWindow.window) return;
  RECT client;
  GetClientRect(gWindow.window, &client);
  const int width = client.right - client.left;
  Child(gWindow.window, L"STATIC", kPlaybackTitle, SS_CENTER, 8, 8, width - 16, 18, -1);
  gWindow.status = Child(gWindow.window, L"STATIC", L"", SS_LEFT, 8, 30, width - 16, 18, -1);
  gWindow.abortButton = Child(gWindow.window, L"BUTTON", kPlaybackAbortLabel, BS_DEFPUSHBUTTON | WS_TABSTOP,
                              (width - 80) / 2, 54, 80, 24, kAbortButtonId);
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
