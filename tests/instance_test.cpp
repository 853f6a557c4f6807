// One main window by default: a second start hands its paths to the running instance and ends; with
// `multiple` on, both run side by side.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "config/hand_over.h"
#include "config/single_instance.h"
#include "platform/data_files.h"
#include "testing/temp_folder.h"
#include "resources/resource.h"
#include "testing/deep_tree.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

int RowsShown(HWND window) {
  HWND list = ListControlOf(window);
  return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

// Waits until the window's list shows the number of rows, or gives up after a few seconds.
bool WaitForRows(HWND window, int rows) {
  for (int i = 0; i < 100; ++i) {
    if (RowsShown(window) == rows) return true;
    Sleep(50);
  }
  return false;
}

class InstanceTest : public testing::Test {
 protected:
  void SetUp() override {
    for (TempFolder* folder : {&first_, &second_}) {
      folder->WriteFile(L"use.ini", "");
      folder->WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\n");
    }
    // Two files and a folder holding two more: four rows in the file target.
    ASSERT_TRUE(CreateDirectoryW((work_ / L"three").c_str(), nullptr));
    for (const wchar_t* name : {L"一.txt", L"two.txt", L"three\\a.txt", L"three\\b.txt"}) work_.WriteFile(name, "x");
    for (const wchar_t* name : {L"一.txt", L"two.txt", L"three"}) paths_ += L" \"" + (work_ / name) + L"\"";
  }

  TempFolder first_, second_, work_;
  std::wstring paths_;
};

TEST_F(InstanceTest, ASecondStartHandsItsPathsToTheRunningWindowAndEnds) {
  ProgramRunner running(first_, L"korvalith.exe");
  HWND window = running.WaitForWindow();
  ASSERT_NE(nullptr, window);
  ASSERT_EQ(0, RowsShown(window));

  ProgramRunner second(second_, L"korvalith.exe", paths_);
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(0, second.WaitForExit(15000));
  EXPECT_TRUE(WaitForRows(window, 4)) << RowsShown(window);
  // The receiver took its atoms out of the global table.
  EXPECT_EQ(0, GlobalFindAtomW((work_ / L"two.txt@").c_str()));
  // The running window kept its title; the second start never showed one of its own.
  EXPECT_EQ(L"こ～ばりす～ず ", WindowText(window));
  EXPECT_EQ(0, running.Close());
}

// A path too long for an atom (here 1,000 characters) goes over as well, beside the short ones.
TEST_F(InstanceTest, ASecondStartHandsOverPathsTooLongForAnAtom) {
  const std::wstring deep = MakeDeepFolder(work_.Path(), 1000, L'長', 80);
  ASSERT_EQ(1000u, deep.size());
  const std::wstring file = deep + L"deep.txt";
  HANDLE handle = CreateFileW(SystemPath(file.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, handle);
  CloseHandle(handle);
  ProgramRunner running(first_, L"korvalith.exe");
  HWND window = running.WaitForWindow();
  ASSERT_NE(nullptr, window);
  ProgramRunner second(second_, L"korvalith.exe", paths_ + L" \"" + file + L"\"");
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(0, second.WaitForExit(15000));
  EXPECT_TRUE(WaitForRows(window, 5)) << RowsShown(window);
  EXPECT_EQ(0, running.Close());
}

// The instance that holds the mutex shows no window that takes paths (it is ending): the second
// start waits for one a few seconds, then opens its own window with its paths instead of losing them.
TEST_F(InstanceTest, ASecondStartThatFindsNoWindowToTakeItsPathsOpensItsOwn) {
  const HANDLE held = CreateMutexW(nullptr, FALSE, kInstanceObjectName);
  ASSERT_NE(nullptr, held);
  ProgramRunner second(second_, L"korvalith.exe", paths_);
  HWND window = second.WaitForWindow(kHandOverWindowWaitMs + 10000);
  CloseHandle(held);
  ASSERT_NE(nullptr, window) << "the second start ended without a window";
  EXPECT_TRUE(WaitForRows(window, 4)) << RowsShown(window);
  EXPECT_EQ(0, second.Close());
}

// The window opened because no receiver answered takes the hand-overs itself while the silent
// instance still holds the mutex: the next start hands its paths to it at once, without the wait.
TEST_F(InstanceTest, AWindowOpenedBecauseNoReceiverAnsweredTakesTheNextStart) {
  const HANDLE held = CreateMutexW(nullptr, FALSE, kInstanceObjectName);
  ASSERT_NE(nullptr, held);
  ProgramRunner second(second_, L"korvalith.exe", paths_);
  HWND window = second.WaitForWindow(kHandOverWindowWaitMs + 10000);
  ASSERT_NE(nullptr, window) << "the second start ended without a window";
  EXPECT_TRUE(WaitForRows(window, 4)) << RowsShown(window);
  work_.WriteFile(L"five.txt", "5");
  const ULONGLONG started = GetTickCount64();
  ProgramRunner third(first_, L"korvalith.exe", L"\"" + (work_ / L"five.txt") + L"\"");
  EXPECT_EQ(0, third.WaitForExit(kHandOverWindowWaitMs + 10000));
  EXPECT_LT(GetTickCount64() - started, kHandOverWindowWaitMs) << "the third start waited for a receiver";
  EXPECT_TRUE(WaitForRows(window, 5)) << RowsShown(window);
  CloseHandle(held);
  EXPECT_EQ(0, second.Close());
}

// A receiver in undo mode may not add the paths: the sender ends with 1, not 0, and the running
// window keeps its rows.
TEST_F(InstanceTest, ASecondStartWhosePathsWereNotTakenEndsWithOne) {
  const std::wstring line = L"\"" + (work_ / L"x.txt") + L"\",\"" + (work_ / L"two.txt") + L"\",\"<NORMAL>\"\r\n";
  std::string log = "\xFF\xFE";
  log.append(reinterpret_cast<const char*>(line.data()), line.size() * sizeof(wchar_t));
  first_.WriteFile(L"rename1.log", log);
  ProgramRunner running(first_, L"korvalith.exe");
  HWND window = running.WaitForWindow();
  ASSERT_NE(nullptr, window);
  SendMessageW(window, WM_COMMAND, IDM_UNDO_MODE, 0);
  ASSERT_TRUE(WaitForRows(window, 1)) << "the log's row in undo mode: " << RowsShown(window);
  ProgramRunner second(second_, L"korvalith.exe", paths_);
  EXPECT_EQ(1, second.WaitForExit(15000));
  EXPECT_EQ(1, RowsShown(window));
  EXPECT_EQ(0, GlobalFindAtomW(((work_ / L"two.txt") + L"@").c_str())) << "the sender removed what was not taken";
  EXPECT_EQ(0, running.Close());
}

// Explorer's verb on thirty files starts thirty programs at once, the settings in the ini file:
// one window takes every path, in any order, and no start stops at the first-start dialog (each
// start counts itself in the file while the others read it).
TEST_F(InstanceTest, ThirtyStartsAtOnceEndInOneWindowWithEveryPath) {
  constexpr int kStarts = 30;
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"korvalith.exe").c_str(), (first_ / L"korvalith.exe").c_str(), FALSE));
  std::vector<std::unique_ptr<ProgramRunner>> starts;
  for (int i = 0; i < kStarts; ++i) {
    const std::wstring name = L"start" + std::to_wstring(i) + L".txt";
    work_.WriteFile(name, "x");
    starts.push_back(std::make_unique<ProgramRunner>(first_, L"korvalith.exe", L"\"" + (work_ / name) + L"\"", false));
    ASSERT_TRUE(starts.back()->Started());
  }
  // Every start but the one whose window stays hands over and ends with 0.
  std::vector<ProgramRunner*> running;
  const ULONGLONG deadline = GetTickCount64() + 90000;
  do {
    running.clear();
    for (auto& start : starts) {
      if (start->WaitForExit(0) == -1) running.push_back(start.get());
    }
  } while (running.size() > 1 && GetTickCount64() < deadline && (Sleep(100), true));
  for (auto& start : starts) {
    if (start.get() != running.front()) {
      EXPECT_EQ(0, start->WaitForExit(0));
    }
  }
  ASSERT_EQ(1u, running.size()) << "windows left open";
  HWND window = running.front()->WaitForWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_TRUE(WaitForRows(window, kStarts)) << RowsShown(window);
  EXPECT_EQ(nullptr, running.front()->WaitForWindowOfClass(L"#32770", 0)) << "a dialog is open";
  EXPECT_EQ(0, running.front()->Close());
  const std::string ini = first_.ReadFile(L"korvalith.ini");
  EXPECT_NE(std::string::npos, ini.find("\r\n_count=" + std::to_string(5 + kStarts) + "\r\n")) << ini;
}

TEST_F(InstanceTest, WithMultipleInstancesAllowedBothRun) {
  second_.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nmultiple=1\r\n");
  ProgramRunner running(first_, L"korvalith.exe");
  HWND window = running.WaitForWindow();
  ASSERT_NE(nullptr, window);
  ProgramRunner second(second_, L"korvalith.exe", paths_);
  HWND secondWindow = second.WaitForWindow();
  ASSERT_NE(nullptr, secondWindow);
  EXPECT_TRUE(WaitForRows(secondWindow, 4)) << RowsShown(secondWindow);
  EXPECT_EQ(0, RowsShown(window));
  EXPECT_EQ(0, second.Close());
  EXPECT_EQ(0, running.Close());
}

TEST_F(InstanceTest, AnAutomaticRunNeverHandsOver) {
  ProgramRunner running(first_, L"korvalith.exe");
  HWND window = running.WaitForWindow();
  ASSERT_NE(nullptr, window);
  ASSERT_TRUE(CopyFileW((ProgramFolder() + L"bregonig.dll").c_str(), (second_ / L"bregonig.dll").c_str(), FALSE));
  ProgramRunner automatic(second_, L"korvalith.exe", L"\"s/w/x/\" \"" + (work_ / L"two.txt") + L"\"");
  EXPECT_EQ(0, automatic.WaitForExit());
  EXPECT_TRUE(work_.Exists(L"txo.txt"));
  EXPECT_EQ(0, RowsShown(window));
  EXPECT_EQ(0, running.Close());
}

}  // namespace
}  // namespace korval
