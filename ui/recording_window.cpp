// The recording window.
#include "ui/recording_window.h"

#include "platform/dpi.h"
#include "resources/resource.h"

namespace korval {
namespace {

struct RecordingWindow {
  std::function<void()> stop;
};

LRESULT CALLBACK RecordingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_RECORDING_STOP && self && self->stop) self->stop();
      return 0;
    case WM_CLOSE:
      if (self && self->stop) self->stop();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete self;
      break;
    default: break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HWND OpenRecordingWindow(HWND owner, std::function<void()> stop) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  WNDCLASSW wc{};
  if (!GetClassInfoW(instance, kRecordingWindowClass, &wc)) {
    wc.lpfnWndProc = RecordingWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kRecordingWindowClass;
    RegisterClassW(&wc);
  }
  // 450 pixels right of and 35 below the owner's top left corner; the sizes are at 96 DPI.
  RECT r{};
  GetWindowRect(owner, &r);
  const int dpi = WindowDpi(owner);
  auto px = [dpi](int size) { return ScaleToDpi(size, dpi); };
  auto* self = new RecordingWindow{std::move(stop)};
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kRecordingWindowClass, L"マクロ記録中", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                r.left + px(450), r.top + px(35), px(150), px(70), owner, nullptr, instance, self);
  if (!window) {
    delete self;
    return nullptr;
  }
  RECT client;
  GetClientRect(window, &client);
  HWND button = CreateWindowExW(0, L"BUTTON", L"■ 終了", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, px(8), px(6),
                                client.right - px(16), client.bottom - px(12), window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RECORDING_STOP)), instance, nullptr);
  // The owner answers with the font of the program's texts.
  SendMessageW(button, WM_SETFONT, SendMessageW(owner, WM_GETFONT, 0, 0), TRUE);
  return window;
}

void CloseRecordingWindow(HWND window) {
  if (window && IsWindow(window)) DestroyWindow(window);
}

void MoveRecordingWindow(HWND window, int dx, int dy) {
  if (!window || !IsWindow(window)) return;
  RECT r;
  GetWindowRect(window, &r);
  SetWindowPos(window, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace korval
