// Layout checks over the children of a window.
#include "testing/layout_check.h"

#include "platform/format_text.h"

namespace korval {
namespace {

struct Placed {
  HWND control;
  RECT r;  // in screen coordinates
  bool container;
};

bool IsContainer(HWND control) {
  wchar_t name[32] = L"";
  GetClassNameW(control, name, 32);
  if (lstrcmpiW(name, L"SysTabControl32") == 0) return true;
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  return lstrcmpiW(name, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

std::wstring RectText(const RECT& r) {
  return FormatText(L"(%d,%d)-(%d,%d)", static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
                    static_cast<int>(r.bottom));
}

}  // namespace

std::wstring DescribeControl(HWND control) {
  wchar_t name[64] = L"", text[64] = L"";
  GetClassNameW(control, name, 64);
  DWORD_PTR copied = 0;
  // Sent, not GetWindowText: the text of a control of another process comes only this way.
  SendMessageTimeoutW(control, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &copied);
  return FormatText(L"%s #%d \"%s\"", name, GetDlgCtrlID(control), text);
}

std::vector<std::wstring> LayoutFaults(HWND parent) {
  std::vector<std::wstring> faults;
  RECT client;
  GetClientRect(parent, &client);
  MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::vector<Placed> placed;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r;
    GetWindowRect(child, &r);
    if (IsRectEmpty(&r)) continue;
    placed.push_back({child, r, IsContainer(child)});
    if (!Inside(r, client)) {
      faults.push_back(DescribeControl(child) + L" " + RectText(r) + L" reaches out of its parent's client area " +
                       RectText(client));
    }
  }
  for (size_t i = 0; i < placed.size(); ++i) {
    for (size_t j = i + 1; j < placed.size(); ++j) {
      const Placed& a = placed[i];
      const Placed& b = placed[j];
      // Controls placed edge to edge may share one pixel where the dialog units were rounded; a
      // person sees that as touching, not as covering.
      RECT common;
      if (!IntersectRect(&common, &a.r, &b.r) || (a.container && b.container)) continue;
      if (common.right - common.left <= 1 || common.bottom - common.top <= 1) continue;
      if (a.container || b.container) {
        const Placed& holder = a.container ? a : b;
        const Placed& held = a.container ? b : a;
        if (Inside(held.r, holder.r)) continue;
        faults.push_back(DescribeControl(held.control) + L" " + RectText(held.r) + L" lies partly on " +
                         DescribeControl(holder.control) + L" " + RectText(holder.r));
        continue;
      }
      faults.push_back(DescribeControl(a.control) + L" " + RectText(a.r) + L" and " + DescribeControl(b.control) + L" " +
                       RectText(b.r) + L" cover each other");
    }
  }
  return faults;
}

}  // namespace korval
