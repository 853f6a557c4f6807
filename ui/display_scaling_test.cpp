// The main window dragged between monitors of different DPI: it takes the size the system suggests,
// and its fonts, pictures, columns and layout follow the new DPI, there and back.
#include <windows.h>

#include <commctrl.h>

#include "testing/layout_check.h"
#include "testing/temp_folder.h"
#include "resources/resource.h"
#include "testing/main_window_test_fixture.h"

namespace korval {
namespace {

int FontHeight(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
}

int IconSize(HIMAGELIST images) {
  int width = 0, height = 0;
  return images && ImageList_GetIconSize(images, &width, &height) ? width : 0;
}

class DisplayScalingTest : public MainWindowTest {
 protected:
  // The system's message for a move onto a monitor of `dpi`, suggesting the window scaled with it.
  RECT MoveToMonitorOf(int dpi) {
    RECT r;
    GetWindowRect(window, &r);
    const int from = Parts().dpi;
    RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, dpi, from), r.top + MulDiv(r.bottom - r.top, dpi, from)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump(50);
    return suggested;
  }

  void ExpectLaidOutFor(int dpi, const RECT& suggested) {
    SCOPED_TRACE(dpi);
    const Frame& f = Parts();
    EXPECT_EQ(dpi, f.dpi);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(suggested.right - suggested.left, r.right - r.left);
    EXPECT_EQ(suggested.bottom - suggested.top, r.bottom - r.top);
    const int icon = dpi >= 192 ? 32 : dpi >= 144 ? 24 : 16;
    EXPECT_EQ(icon, IconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(f.toolbar, TB_GETIMAGELIST, 0, 0))));
    EXPECT_EQ(icon, IconSize(ListView_GetImageList(f.list, LVSIL_SMALL)));
    BITMAP picture{};
    GetObjectW(f.previewMark, sizeof(picture), &picture);
    EXPECT_EQ(icon, picture.bmWidth);
    EXPECT_GE(SendMessageW(f.list, LVM_GETCOUNTPERPAGE, 0, 0), 5);
    for (HWND parent : {window, f.dialog}) {
      for (const std::wstring& fault : LayoutFaults(parent)) ADD_FAILURE() << Utf8(fault);
    }
  }
};

TEST_F(DisplayScalingTest, AMoveToAnotherMonitorScalesEveryPartThereAndBack) {
  Open();
  const int startFont = FontHeight(Parts().Item(IDC_PREVIEW));
  const int startColumn = ListView_GetColumnWidth(Parts().list, 0);
  RECT start;
  GetWindowRect(window, &start);
  ASSERT_EQ(96, Parts().dpi);

  ExpectLaidOutFor(144, MoveToMonitorOf(144));
  EXPECT_EQ(MulDiv(startFont, 144, 96), FontHeight(Parts().Item(IDC_PREVIEW)));
  EXPECT_EQ(MulDiv(startFont, 144, 96), FontHeight(Parts().list));
  EXPECT_EQ(MulDiv(startFont, 144, 96), FontHeight(Parts().status));
  EXPECT_EQ(MulDiv(startColumn, 144, 96), ListView_GetColumnWidth(Parts().list, 0));

  ExpectLaidOutFor(192, MoveToMonitorOf(192));
  ExpectLaidOutFor(96, MoveToMonitorOf(96));
  EXPECT_EQ(startFont, FontHeight(Parts().Item(IDC_PREVIEW)));
  EXPECT_NEAR(startColumn, ListView_GetColumnWidth(Parts().list, 0), 1);
}

}  // namespace
}  // namespace korval
