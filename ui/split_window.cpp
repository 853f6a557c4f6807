// The splitter window: layout of its two panes, dragging of the bar, and its messages.
#include "ui/split_window.h"

#include <algorithm>

#include "platform/dpi.h"

namespace korval {
namespace {

LRESULT CALLBACK ForwardToObject(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<SplitWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  const LRESULT result = self->WindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    delete self;
  }
  return result;
}

bool RegisterSplitClass(HINSTANCE instance) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, kSplitWindowClass, &existing)) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kSplitWindowClass;
  return RegisterClassA(&wc) != 0;
}

}  // namespace

HWND CreateSplitWindow(DWORD style, int x, int y, int width, int height, HWND parent, int id, int startPosition) {
  auto* self = new (std::nothrow) SplitWindow;
  if (!self) return nullptr;
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  HWND hwnd = RegisterSplitClass(instance)
                  ? CreateWindowExA(0, kSplitWindowClass, "", style, x, y, width, height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr)
                  : nullptr;
  if (!hwnd) {
    delete self;
    return nullptr;
  }
  self->window = hwnd;
  self->position = startPosition;
  self->topLevel = GetAncestor(parent, GA_ROOT);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  self->replaced = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForwardToObject)));
  RECT client;
  GetClientRect(hwnd, &client);
  self->width = client.right;
  self->height = client.bottom;
  return hwnd;
}

void SplitWindow::Layout() {
  if (!first && !second) return;
  const bool both = first && second && firstVisible && secondVisible;
  if (!both) {
    HWND only = (first && firstVisible) ? first : second;
    if (only) MoveWindow(only, 0, 0, width, height, TRUE);
    return;
  }
  if (orientation == 0) {
    MoveWindow(first, 0, 0, std::max(0, position - halfWidth), height, TRUE);
    MoveWindow(second, position + halfWidth, 0, std::max(0, width - position - halfWidth), height, TRUE);
  } else {
    MoveWindow(first, 0, 0, width, std::max(0, position - halfWidth), TRUE);
    MoveWindow(second, 0, position + halfWidth, width, std::max(0, height - position - halfWidth), TRUE);
  }
}

bool SplitWindow::OverBar(int x, int y) const {
  if (!enabled || !first || !second || !firstVisible || !secondVisible) return false;
  const int along = orientation == 0 ? x : y;
  return along >= position - halfWidth && along <= position + halfWidth;
}

// The outline follows the bar while it is dragged; drawn twice at one place it is gone again.
void SplitWindow::DrawTracking() {
  HDC dc = GetDC(window);
  for (int k = 0; k < std::max(1, halfWidth); ++k) {
    RECT r = orientation == 0 ? RECT{position - halfWidth + 2 * k, 0, position - halfWidth + 2 * k + 2, height}
                              : RECT{0, position - halfWidth + 2 * k, width, position - halfWidth + 2 * k + 2};
    DrawFocusRect(dc, &r);
  }
  ReleaseDC(window, dc);
}

void SplitWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT bar = ps.rcPaint;
  if (liveResize) {
    bar = orientation == 0 ? RECT{position - halfWidth, 0, position + halfWidth, height}
                           : RECT{0, position - halfWidth - 2, width, position + halfWidth + 2};
  }
  if (ps.fErase || !liveResize) FillRect(dc, &bar, GetSysColorBrush(COLOR_MENU));
  EndPaint(window, &ps);
}

LRESULT SplitWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  auto swap = [this](int& field, LPARAM value, bool layout) {
    const int old = field;
    field = static_cast<int>(value);
    if (layout) Layout();
    return static_cast<LRESULT>(old);
  };
  switch (message) {
    case kSplitSetPanes: {
      const auto* panes = reinterpret_cast<const SplitPanes*>(lParam);
      if (!panes || (!panes->first && !panes->second)) return 0;
      first = panes->first;
      second = panes->second;
      orientation = wParam == 1 ? 0 : 1;
      if (first) SetParent(first, window);
      if (second) SetParent(second, window);
      Layout();
      return 1;
    }
    case kSplitGetPane: return reinterpret_cast<LRESULT>(lParam ? first : second);
    case kSplitSetEnabled: return swap(enabled, lParam, false);
    case kSplitGetEnabled: return enabled;
    case kSplitSetLiveResize: return swap(liveResize, lParam, false);
    case kSplitGetLiveResize: return liveResize;
    case kSplitSetPosition: return swap(position, lParam, true);
    case kSplitGetPosition: return position;
    case kSplitSetVisible:
      firstVisible = LOWORD(lParam) != 0;
      secondVisible = HIWORD(lParam) != 0;
      if (first) ShowWindow(first, firstVisible ? SW_SHOW : SW_HIDE);
      if (second) ShowWindow(second, secondVisible ? SW_SHOW : SW_HIDE);
      Layout();
      return 1;
    case kSplitGetVisible: return lParam ? firstVisible : secondVisible;
    case kSplitSetHalfWidth: return swap(halfWidth, lParam, true);
    case kSplitGetHalfWidth: return halfWidth;
    case kSplitGetObject: return reinterpret_cast<HWND>(lParam) == window ? reinterpret_cast<LRESULT>(this) : 0;
    case WM_SIZE:
      width = LOWORD(lParam);
      height = HIWORD(lParam);
      Layout();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(window, &p);
        const bool bar = dragging || OverBar(p.x, p.y);
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(!bar ? IDC_ARROW : orientation == 0 ? IDC_SIZEWE : IDC_SIZENS)));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      if (!OverBar(x, y)) return 0;
      dragging = true;
      SetCapture(window);
      if (!liveResize) DrawTracking();
      return 0;
    case WM_MOUSEMOVE: {
      if (!dragging) return 0;
      // The bar stays 3 pixels (at 96 DPI) from the edges.
      const int edge = ScaleToDpi(3, WindowDpi(window));
      const int limit = (orientation == 0 ? width : height) - edge;
      const int wanted = std::clamp(orientation == 0 ? x : y, edge, std::max(edge, limit));
      if (liveResize) {
        position = wanted;
        Layout();
      } else {
        DrawTracking();
        position = wanted;
        DrawTracking();
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (!dragging) return 0;
      if (!liveResize) {
        DrawTracking();
        Layout();
      }
      dragging = false;
      ReleaseCapture();
      return 0;
    case WM_NOTIFYFORMAT: return NFR_UNICODE;  // the panes notify in UTF-16, as the top-level window reads them
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_CONTEXTMENU:
      return topLevel ? SendMessageA(topLevel, message, wParam, lParam) : 0;
    default: break;
  }
  return replaced ? CallWindowProcA(replaced, window, message, wParam, lParam) : 0;
}

}  // namespace korval
