// Both programs at the display scalings of ordinary laptops: each is started with the DPI set the way
// Windows sets it (LogPixels), and its window must look as it does at 100 %, only larger: at least
// the scaled default size, every control inside its parent, none covering another in any mode, and
// at least five rows of its list in view.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/dpi.h"
#include "testing/layout_check.h"
#include "testing/temp_folder.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

constexpr int kDpis[] = {96, 120, 144, 192};
constexpr UINT kNextMode = 40056;  // "次のモードへ", the same command in both programs
constexpr DWORD kWaitMs = 10000;

// Sets the DPI of the programs started while it lives, and puts the old value back.
class ScopedLogPixels {
 public:
  explicit ScopedLogPixels(int dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof(old_);
    hadOld_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) ==
              ERROR_SUCCESS;
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  }
  ~ScopedLogPixels() {
    if (hadOld_) {
      RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof(old_));
    } else {
      RegDeleteValueW(key_, L"LogPixels");
    }
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool hadOld_ = false;
};

HWND ChildOfClass(HWND parent, const wchar_t* className) { return FindWindowExW(parent, nullptr, className, nullptr); }

std::wstring SentText(HWND window) {
  wchar_t text[512] = L"";
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &copied);
  return text;
}

// Waits until done() holds, doing again() every 300 ms meanwhile; false after kWaitMs.
template <typename Done, typename Again>
bool WaitUntil(Done done, Again again) {
  const ULONGLONG deadline = GetTickCount64() + kWaitMs;
  ULONGLONG next = GetTickCount64() + 300;
  while (!done()) {
    if (GetTickCount64() > deadline) return false;
    if (GetTickCount64() > next) {
      again();
      next = GetTickCount64() + 300;
    }
    Sleep(20);
  }
  return true;
}

void ExpectNoLayoutFaults(HWND parent, const std::string& where) {
  for (const std::wstring& fault : LayoutFaults(parent)) {
    ADD_FAILURE() << where << ": " << Utf8(fault);
  }
}

void ExpectAtLeastScaled(HWND window, int width, int height, int dpi) {
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_GE(r.right - r.left, ScaleToDpi(width, dpi));
  EXPECT_GE(r.bottom - r.top, ScaleToDpi(height, dpi));
}

void ExpectRowsInView(HWND list, int rows) {
  ASSERT_NE(nullptr, list);
  EXPECT_GE(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0), rows);
}

TEST(DisplayScaling, TheRenamerLooksTheSameAtEveryScalingOnlyLarger) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(testing::Message() << dpi << " DPI");
    ScopedLogPixels scaling(dpi);
    TempFolder folder, files;
    folder.WriteFile(L"use.ini", "");
    folder.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nusejpname=0\r\n");
    for (int i = 0; i < 12; ++i) files.WriteFile(L"photo" + std::to_wstring(i) + L".jpg", "x");
    // Without the trailing backslash, which would escape the closing quote.
    const std::wstring tree = files.Path().substr(0, files.Path().size() - 1);
    ProgramRunner program(folder, L"korvalith.exe", L"\"" + tree + L"\"");
    HWND window = program.WaitForWindow();
    ASSERT_NE(nullptr, window) << "the main window did not show";
    ASSERT_EQ(L"Korvalith", WindowClass(window));
    HWND list = ListControlOf(window);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 12; }, [] {}))
        << "the twelve files of the command line never showed in the list; it shows "
        << SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) << " rows, and the status bar says "
        << Utf8(SentText(ChildOfClass(window, STATUSCLASSNAMEW)));
    HWND dialog = ChildOfClass(window, L"#32770");
    HWND status = ChildOfClass(window, STATUSCLASSNAMEW);
    ASSERT_NE(nullptr, dialog);

    ExpectAtLeastScaled(window, 815, 437, dpi);
    ExpectRowsInView(list, 5);
    // The toolbar's buttons hold pictures drawn for the DPI: a button is its picture and a small edge.
    const int buttonWidth = LOWORD(SendMessageW(ChildOfClass(window, TOOLBARCLASSNAMEW), TB_GETBUTTONSIZE, 0, 0));
    EXPECT_GE(buttonWidth, IconSizeForDpi(dpi));
    EXPECT_LE(buttonWidth, IconSizeForDpi(dpi) + 8);
    ExpectNoLayoutFaults(window, "main window");
    // Every mode shows other controls: each panel is checked, both tabs.
    for (int step = 0; step < 15; ++step) {
      const std::wstring hint = SentText(status);
      auto next = [&] { PostMessageW(window, WM_COMMAND, kNextMode, 0); };
      next();
      ASSERT_TRUE(WaitUntil([&] { return SentText(status) != hint; }, next)) << "the mode after \"" << Utf8(hint) << "\" never showed";
      ExpectNoLayoutFaults(dialog, Utf8(SentText(status)));
    }
    EXPECT_EQ(0, program.Close());
  }
}

TEST(DisplayScaling, TheMacroEditorLooksTheSameAtEveryScalingOnlyLarger) {
  for (int dpi : kDpis) {
    SCOPED_TRACE(testing::Message() << dpi << " DPI");
    ScopedLogPixels scaling(dpi);
    TempFolder folder;
    folder.WriteFile(L"use.ini", "");
    ProgramRunner program(folder, L"korvalmacroedit.exe", L"/macro1");
    HWND window = program.WaitForWindow();
    ASSERT_NE(nullptr, window) << "the editor's window did not show";
    ASSERT_EQ(L"Korvalith Macro Editor", WindowClass(window));
    HWND dialog = ChildOfClass(window, L"#32770");
    ASSERT_NE(nullptr, dialog);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_GE(r.right - r.left, std::min<int>(ScaleToDpi(660, dpi), work.right - work.left));
    EXPECT_GE(r.bottom - r.top, std::min<int>(ScaleToDpi(540, dpi), work.bottom - work.top));
    ExpectRowsInView(ListControlOf(window), 5);
    ExpectNoLayoutFaults(window, "editor window");
    // The eleven mode buttons, each clicked as a person clicks it.
    for (int button = 1201; button <= 1212; ++button) {
      HWND mode = GetDlgItem(dialog, button);
      if (!mode) continue;
      auto click = [&] { SendMessageTimeoutW(mode, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr); };
      click();
      ASSERT_TRUE(WaitUntil([&] { return SendMessageW(mode, BM_GETCHECK, 0, 0) == BST_CHECKED; }, click))
          << "mode button " << button << " never took the click";
      ExpectNoLayoutFaults(dialog, Utf8(SentText(mode)));
    }
    EXPECT_EQ(0, program.Close());
  }
}

}  // namespace
}  // namespace korval
