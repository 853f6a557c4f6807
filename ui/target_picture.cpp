// The hover light of the list-target picture.
#include "ui/target_picture.h"

#include <commctrl.h>

namespace korval {
namespace {

constexpr UINT_PTR kSubclassId = 1558;
constexpr const wchar_t* kLitProperty = L"KorvalithLit";

void SetLit(HWND picture, bool lit) {
  if (TargetPictureLit(picture) == lit) return;
  if (lit) {
    SetPropW(picture, kLitProperty, reinterpret_cast<HANDLE>(1));
  } else {
    RemovePropW(picture, kLitProperty);
  }
  InvalidateRect(picture, nullptr, TRUE);
}

LRESULT CALLBACK PictureProc(HWND picture, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (!TargetPictureLit(picture)) {
        // The light goes out when the mouse leaves.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, picture, 0};
        TrackMouseEvent(&track);
        SetLit(picture, true);
      }
      break;
    case WM_MOUSELEAVE: SetLit(picture, false); break;
    case WM_PAINT: {
      // The picture as it is, then a raised edge around it while lit, as a flat button shows it.
      const LRESULT result = DefSubclassProc(picture, message, wParam, lParam);
      if (TargetPictureLit(picture)) {
        RECT r;
        GetClientRect(picture, &r);
        HDC dc = GetDC(picture);
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        ReleaseDC(picture, dc);
      }
      return result;
    }
    case WM_NCDESTROY:
      RemovePropW(picture, kLitProperty);
      RemoveWindowSubclass(picture, PictureProc, kSubclassId);
      break;
    default: break;
  }
  return DefSubclassProc(picture, message, wParam, lParam);
}

}  // namespace

void WatchTargetPictureHover(HWND picture) {
  if (picture) SetWindowSubclass(picture, PictureProc, kSubclassId, 0);
}

bool TargetPictureLit(HWND picture) { return GetPropW(picture, kLitProperty) != nullptr; }

}  // namespace korval
