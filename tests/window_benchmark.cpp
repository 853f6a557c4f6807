// Starts the built renamer as a person does and times it from the process start to its shown
// window, empty and with a tree of files on its command line; while that tree is read, a message is
// sent to the window again and again and the longest wait for its answer is reported.
#include "tests/window_benchmark.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "config/settings.h"
#include "engine/change_log.h"
#include "platform/data_files.h"
#include "testing/temp_folder.h"
#include "resources/resource.h"
#include "testing/program_runner.h"

namespace korval {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Search {
  DWORD process;
  HWND found;
  const wchar_t* className;
};

HWND MainWindowOf(DWORD process, const wchar_t* className) {
  Search search{process, nullptr, className};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[32] = L"";
        GetClassNameW(hwnd, name, 32);
        if (owner != s->process || !IsWindowVisible(hwnd) || lstrcmpW(name, s->className) != 0) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Started {
  PROCESS_INFORMATION info{};
  HWND window = nullptr;
  double msToWindow = 0;  // until the window is shown and has answered a sent message
  double msToSetUp = 0;   // until, besides, the keyboard focus is in its list (the deferred set-up is done)
};

// The window that has the keyboard focus in the thread of window.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

Started Start(const TempFolder& program, const std::wstring& arguments, const wchar_t* exe = L"korvalith.exe",
              const wchar_t* className = L"Korvalith") {
  Started s;
  std::wstring line = L"\"" + (program / exe) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  const auto t0 = Clock::now();
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, program.Path().c_str(), &startup,
                      &s.info)) {
    return s;
  }
  while (!(s.window = MainWindowOf(s.info.dwProcessId, className)) && MillisecondsSince(t0) < 30000) Sleep(1);
  DWORD_PTR answer = 0;
  if (s.window) SendMessageTimeoutW(s.window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
  s.msToWindow = MillisecondsSince(t0);
  // The smallest program has no set-up of its own: its focus is its window.
  HWND list = lstrcmpW(className, L"Korvalith") == 0 && s.window ? ListControlOf(s.window) : s.window;
  while (list && FocusOf(s.window) != list && MillisecondsSince(t0) < 30000) Sleep(1);
  s.msToSetUp = MillisecondsSince(t0);
  return s;
}

// The private memory of the process in bytes.
double PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
  return static_cast<double>(counters.PagefileUsage);
}

// How long the window takes to answer a command of its menu (the command has run when it answers).
double CommandMs(HWND window, int command) {
  const auto sent = Clock::now();
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, WM_COMMAND, command, 0, SMTO_NORMAL, 60000, &answer);
  return MillisecondsSince(sent);
}

// The text of a cell of the list of another process, read through memory of that process.
class RemoteCell {
 public:
  explicit RemoteCell(HANDLE process) : process_(process) {
    memory_ = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteCell() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  }
  std::wstring Text(HWND list, int row, int column) {
    if (!memory_) return L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = 260;
    item.pszText = reinterpret_cast<wchar_t*>(memory_ + sizeof(LVITEMW));
    WriteProcessMemory(process_, memory_, &item, sizeof(item), nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(memory_));
    wchar_t text[261] = L"";
    ReadProcessMemory(process_, memory_ + sizeof(LVITEMW), text, 260 * sizeof(wchar_t), nullptr);
    return text;
  }

 private:
  HANDLE process_;
  char* memory_ = nullptr;
};

// What the disk allows at best: a bare walk of the tree timed as the best of three walks in this
// process (a warm cache).
double WalkLimitMs(const std::wstring& tree) {
  double best = 1e30;
  for (int walk = 0; walk < 3; ++walk) {
    const auto started = Clock::now();
    BareWalk(tree);
    best = std::min(best, MillisecondsSince(started));
  }
  return best;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// New names while typing: a key typed into the replacement's "to" box, timed until the list's last
// row shows its new name; meanwhile the window is asked again and again how quickly it answers.
void BenchLivePreview(const Started& started, HWND list, long rows, const std::wstring& tree) {
  HWND dialog = FindWindowExW(started.window, nullptr, L"#32770", nullptr);
  // The mode's boxes are made when the mode is first shown.
  SendMessageW(GetDlgItem(dialog, IDC_MODE_BUTTON_FIRST + 9), BM_CLICK, 0, 0);  // "置換"
  HWND from = FindWindowExW(GetDlgItem(dialog, IDC_REPLACE_FROM), nullptr, L"Edit", nullptr);
  HWND to = FindWindowExW(GetDlgItem(dialog, IDC_REPLACE_TO), nullptr, L"Edit", nullptr);
  // The texts of an earlier start are kept in the settings: the boxes start empty.
  SendMessageW(from, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  SendMessageW(to, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  for (const wchar_t* c = L"IMG"; *c; ++c) SendMessageW(from, WM_CHAR, *c, 0);
  Sleep(2000);
  RemoteCell cell(started.info.hProcess);
  // Against the bare walk of the rows' tree when one is given (the best of 3 walks before, between
  // and after the keys: their median).
  std::vector<double> latencies, limits;
  if (!tree.empty()) limits.push_back(WalkLimitMs(tree));
  double longest = 0;
  for (const wchar_t key : {L'p', L'q', L'r'}) {
    if (key == L'q' && !tree.empty()) limits.push_back(WalkLimitMs(tree));
    const std::wstring before = cell.Text(list, static_cast<int>(rows - 1), 3);
    const auto typed = Clock::now();
    PostMessageW(to, WM_CHAR, key, 0);
    while (MillisecondsSince(typed) < 30000) {
      const auto sent = Clock::now();
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(started.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
      longest = std::max(longest, MillisecondsSince(sent));
      const std::wstring now = cell.Text(list, static_cast<int>(rows - 1), 3);
      if (!now.empty() && now != before) break;
      Sleep(1);  // a poll a millisecond: the window's process keeps its core
    }
    latencies.push_back(MillisecondsSince(typed));
    Sleep(500);
  }
  std::printf("  new names while typing, %ld rows: the last row's new name %.0f ms after the key (median of 3; "
              "target 300 ms at 5,000 rows); the window answered within %.0f ms at the longest\n",
              rows, Median(latencies), longest);
  if (tree.empty()) return;
  limits.push_back(WalkLimitMs(tree));
  std::printf("  new names while typing against the bare walk of their tree of %.0f ms: %.2f (target 0.5)\n",
              Median(limits), Median(latencies) / Median(limits));
}

// The preview button clicked after a new replacement is put into the "to" box, timed until the list's
// last row shows the new name (median of three), against the bare walk of the tree the rows came from
// (the best of three walks, taken before, between and after: their median).
void BenchFullPreview(const Started& started, HWND list, long rows, const std::wstring& tree) {
  HWND dialog = FindWindowExW(started.window, nullptr, L"#32770", nullptr);
  HWND to = FindWindowExW(GetDlgItem(dialog, IDC_REPLACE_TO), nullptr, L"Edit", nullptr);
  HWND button = GetDlgItem(dialog, IDC_PREVIEW);
  RemoteCell cell(started.info.hProcess);
  std::vector<double> previews, limits{WalkLimitMs(tree)};
  for (const wchar_t* replacement : {L"full1", L"full2", L"full3"}) {
    const std::wstring before = cell.Text(list, static_cast<int>(rows - 1), 3);
    SendMessageW(to, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(replacement));
    // The click comes before the pause after which the names would follow the typing by themselves.
    const auto clicked = Clock::now();
    PostMessageW(button, BM_CLICK, 0, 0);
    while (MillisecondsSince(clicked) < 60000) {
      const std::wstring now = cell.Text(list, static_cast<int>(rows - 1), 3);
      if (!now.empty() && now != before) break;
      Sleep(1);
    }
    previews.push_back(MillisecondsSince(clicked));
    if (previews.size() > 1) limits.push_back(WalkLimitMs(tree));
    Sleep(500);
  }
  std::printf("  full preview of every row (the preview button), timed until the last row shows its new name: %.0f ms "
              "against a bare walk of their tree of %.0f ms (medians of 3; each walk the best of 3): %.2f (target 0.5)\n",
              Median(previews), Median(limits), Median(previews) / Median(limits));
}

void Stop(Started& s) {
  if (s.window) PostMessageW(s.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(s.info.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(s.info.hProcess, 1);
  CloseHandle(s.info.hProcess);
  CloseHandle(s.info.hThread);
}

// Drops folder on the window as the shell does, and times it until every row is listed; the bare
// walk of the same folder is timed right after.
void BenchDrop(const TempFolder& program, const std::wstring& folder, size_t files) {
  // Three drops, each on a window of its own and each followed by a bare walk: medians of three, as
  // the other figures of the window are, since one drop swings with the machine by a tenth or more.
  std::vector<double> drops, limits{WalkLimitMs(folder + L"\\")};
  LRESULT rows = 0;
  for (int round = 0; round < 3; ++round) {
    Started started = Start(program, L"");
    HWND list = started.window ? ListControlOf(started.window) : nullptr;
    if (!list) return;
    Sleep(1000);  // the set-up timers have run
    // The drop's file list, written into the window's process: a drop hands over a block of memory.
    std::wstring paths = folder + L'\0' + L'\0';
    const size_t bytes = sizeof(DROPFILES) + paths.size() * sizeof(wchar_t);
    std::vector<char> block(bytes);
    auto* drop = reinterpret_cast<DROPFILES*>(block.data());
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(block.data() + sizeof(DROPFILES), paths.data(), paths.size() * sizeof(wchar_t));
    void* remote = VirtualAllocEx(started.info.hProcess, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(started.info.hProcess, remote, block.data(), bytes, nullptr);
    const auto dropped = Clock::now();
    PostMessageW(started.window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    while (MillisecondsSince(dropped) < 60000 && (rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) < static_cast<LRESULT>(files)) {
      Sleep(5);
    }
    drops.push_back(MillisecondsSince(dropped));
    Stop(started);
    if (round > 0) limits.push_back(WalkLimitMs(folder + L"\\"));
  }
  std::printf("  a drop of %ld files: every row listed %.0f ms after the drop, against a bare walk of %.0f ms (medians of "
              "3; each walk the best of 3): %.2f (target 1.5)\n",
              static_cast<long>(rows), Median(drops), Median(limits), Median(drops) / Median(limits));
}

// The start of the empty window against the smallest Win32 program, both started as processes;
// returns the private bytes of the empty window.
double BenchStart(const TempFolder& program) {
  // Five starts of each, taking turns, so that both meet the same load. Once on a quiet machine, and
  // once beside a core kept busy, as on a desktop where other programs run: under Wine every window
  // request is a round trip to the server, which costs several times as much when both cores idle.
  double emptyBytes = 0;
  auto startMedians = [&](bool busyBeside) {
    std::atomic<bool> spin{busyBeside};
    std::thread busy([&spin] {
      while (spin.load(std::memory_order_relaxed)) {
      }
    });
    std::vector<double> empty, bare, emptySetUp;
    for (int round = 0; round < 5; ++round) {
      Started started = Start(program, L"");
      empty.push_back(started.msToWindow);
      emptySetUp.push_back(started.msToSetUp);
      Sleep(500);  // the set-up timers have run
      if (!busyBeside) emptyBytes = PrivateBytes(started.info.hProcess);
      Stop(started);
      Started smallest = Start(program, L"", L"bare_window.exe", L"BareWindow");
      bare.push_back(smallest.msToWindow);
      Stop(smallest);
    }
    spin = false;
    busy.join();
    const double shown = Median(empty), smallest = Median(bare), setUp = Median(emptySetUp);
    std::printf("  start to shown window that answers a sent message, empty, %s: median %.0f ms against %.0f ms for "
                "the smallest program with one window: %.2f (target 1.5); with the set-up that follows its first "
                "paint, %.0f ms: %.2f\n",
                busyBeside ? "beside a busy core" : "quiet machine", shown, smallest, shown / smallest, setUp,
                setUp / smallest);
  };
  startMedians(false);
  startMedians(true);
  return emptyBytes;
}

}  // namespace

size_t BareWalk(const std::wstring& folder) {
  size_t files = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (data.cFileName[0] == L'.' && (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && data.cFileName[2] == 0))) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      files += BareWalk(folder + data.cFileName + L"\\");
    } else {
      ++files;
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return files;
}

// A script's view of a plan: "/plan=" of the whole tree as a process, from its start to its end,
// against the same run from its start to the start of its execution, when it creates its change log
// in the program folder right before its first rename (seen by a watch on that folder). The run is
// stopped there, which may leave the tree half renamed: this comes last.
void BenchPlanProcess(const TempFolder& program, const std::wstring& tree) {
  // The replacement's regular expressions come from the libraries beside the program.
  for (const wchar_t* library : {L"bregonig.dll", L"bregexp.dll"}) {
    CopyFileW((ProgramFolder() + library).c_str(), (program / library).c_str(), FALSE);
  }
  const std::wstring change = L"\"s/IMG_/photo_/\" /subfolder1 ";
  auto startProcess = [&](const std::wstring& arguments, PROCESS_INFORMATION& info) {
    std::wstring line = L"\"" + (program / L"korvalith.exe") + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, program.Path().c_str(), &startup,
                          &info) != FALSE;
  };
  std::vector<double> plans;
  for (int round = 0; round < 3; ++round) {
    PROCESS_INFORMATION info{};
    const auto t0 = Clock::now();
    if (!startProcess(change + L"\"/plan=" + (program / L"plan.csv") + L"\" \"" + tree + L"\"", info)) return;
    WaitForSingleObject(info.hProcess, 120000);
    plans.push_back(MillisecondsSince(t0));
    DWORD code = 0;
    if (GetExitCodeProcess(info.hProcess, &code) && code > 1) std::printf("  (a plan ended with exit code %lu)\n", code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  std::sort(plans.begin(), plans.end());
  const std::wstring logPath = ChangeLogPath(program.Path(), kLogSlotWriting);
  const std::wstring logName = logPath.substr(logPath.find_last_of(L'\\') + 1);
  HANDLE folder = CreateFileW(program.Path().c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  OVERLAPPED watch{};
  watch.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  alignas(DWORD) char changes[8192];
  auto watchAgain = [&] {
    ResetEvent(watch.hEvent);
    return ReadDirectoryChangesW(folder, changes, sizeof(changes), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &watch,
                                 nullptr) != FALSE;
  };
  PROCESS_INFORMATION run{};
  double executionMs = -1;
  const auto t0 = Clock::now();
  if (folder != INVALID_HANDLE_VALUE && watchAgain() && startProcess(change + L"\"" + tree + L"\"", run)) {
    while (executionMs < 0 && WaitForSingleObject(watch.hEvent, 120000) == WAIT_OBJECT_0) {
      DWORD bytes = 0;
      if (!GetOverlappedResult(folder, &watch, &bytes, FALSE)) break;
      for (size_t at = 0; bytes > 0 && at < bytes;) {
        const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(changes + at);
        const std::wstring name(change->FileName, change->FileNameLength / sizeof(wchar_t));
        if (lstrcmpiW(name.c_str(), logName.c_str()) == 0) executionMs = MillisecondsSince(t0);
        if (change->NextEntryOffset == 0) break;
        at += change->NextEntryOffset;
      }
      if (executionMs < 0 && !watchAgain()) break;
    }
    TerminateProcess(run.hProcess, 1);
    WaitForSingleObject(run.hProcess, 30000);
    CloseHandle(run.hProcess);
    CloseHandle(run.hThread);
  }
  if (folder != INVALID_HANDLE_VALUE) {
    CancelIo(folder);
    CloseHandle(folder);
  }
  CloseHandle(watch.hEvent);
  std::printf("  a plan of the tree as a process, start to end (median of 3): %.0f ms; the same run from its start "
              "to its execution (read, previewed, its log opened): %.0f ms; ratio %.2f (target at most 1)\n",
              plans[1], executionMs, plans[1] / executionMs);
}

namespace {

// A program folder with the renamer, its settings for 50,000 rows of every level below, and the
// smallest program beside it.
void PrepareProgram(const TempFolder& program) {
  CopyFileW((ProgramFolder() + L"korvalith.exe").c_str(), (program / L"korvalith.exe").c_str(), FALSE);
  program.WriteFile(L"use.ini", "");
  Settings s;
  s.maxfilenum = 6;  // 50,000 rows
  s.subdir = 11;     // every level below
  program.WriteFile(L"korvalith.ini", "[Base]\r\n_version=4231201\r\n_count=5\r\nmultiple=1\r\noption2=" +
                                          std::to_string(EncodeOption2(s)) + "\r\n");
  CopyFileW((ProgramFolder() + L"bare_window.exe").c_str(), (program / L"bare_window.exe").c_str(), FALSE);
}

}  // namespace

void BenchProgramStart() {
  std::printf("The start of the main window (the program started as a process):\n");
  TempFolder program;
  PrepareProgram(program);
  BenchStart(program);
}

void BenchWindowStart(size_t files) {
  std::printf("The main window (the program started as a process):\n");
  TempFolder program;
  PrepareProgram(program);
  const double emptyBytes = BenchStart(program);

  TempFolder tree;
  for (size_t f = 0; f < 100; ++f) {
    const std::wstring folder = L"folder" + std::to_wstring(f);
    CreateDirectoryW((tree / folder).c_str(), nullptr);
    for (size_t i = 0; i < files / 100; ++i) tree.WriteFile(folder + L"\\IMG_" + std::to_wstring(i) + L".JPG", "x");
  }
  const std::wstring path = tree.Path().substr(0, tree.Path().size() - 1);
  BenchDrop(program, path, files);
  Started started = Start(program, L"\"" + path + L"\"");
  const auto shown = Clock::now();
  HWND list = started.window ? ListControlOf(started.window) : nullptr;
  double longest = 0;
  int probes = 0, slow = 0;
  LRESULT rows = 0;
  while (list && MillisecondsSince(shown) < 120000) {
    const auto sent = Clock::now();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(started.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    const double waited = MillisecondsSince(sent);
    longest = std::max(longest, waited);
    slow += waited >= 100 ? 1 : 0;
    ++probes;
    rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    if (rows >= static_cast<LRESULT>(files)) break;
    Sleep(20);
  }
  const double listedMs = MillisecondsSince(shown);
  std::printf("  start to shown window with %zu files on the command line: %.0f ms; all %ld rows listed %.0f ms "
              "later\n",
              files, started.msToWindow, static_cast<long>(rows), listedMs);
  std::printf("  while reading: %d messages sent, %d answered after 100 ms or more, the longest after %.0f ms "
              "(target under 100 ms)\n",
              probes, slow, longest);
  if (started.window && rows > 0) {
    std::printf("  memory: %.0f bytes per row over the empty window (target at most 2048)\n",
                (PrivateBytes(started.info.hProcess) - emptyBytes) / static_cast<double>(rows));
    BenchLivePreview(started, list, static_cast<long>(rows), tree.Path());
    BenchFullPreview(started, list, static_cast<long>(rows), tree.Path());
    // Sorting by each column (ascending), and selecting all, each timed to the window's answer.
    for (int column = 0; column < 6; ++column) {
      std::printf("  sort by column %d: %.0f ms\n", column, CommandMs(started.window, 41000 + 10 * column));
    }
    std::printf("  select all: %.0f ms (targets under 300 ms each)\n", CommandMs(started.window, 40031));
  }
  Stop(started);
  // The first tenth of the tree, as a list of 5,000 rows.
  {
    std::wstring tenth;
    for (size_t f = 0; f < 10; ++f) tenth += L" \"" + tree.Path() + L"folder" + std::to_wstring(f) + L"\"";
    Started small = Start(program, tenth);
    HWND smallList = small.window ? ListControlOf(small.window) : nullptr;
    const long smallRows = static_cast<long>(files / 10);
    for (int i = 0; smallList && i < 3000 && SendMessageW(smallList, LVM_GETITEMCOUNT, 0, 0) < smallRows; ++i) Sleep(10);
    if (smallList) BenchLivePreview(small, smallList, smallRows, L"");
    Stop(small);
  }
  BenchPlanProcess(program, path);
}

}  // namespace korval
