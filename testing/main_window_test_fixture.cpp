// The main-window test fixture.
#include "testing/main_window_test_fixture.h"

#include <shlobj.h>

#include "engine/show_message.h"
#include "modes/change_mode.h"
#include "resources/resource.h"
#include "ui/main_window.h"
#include "ui/window_actions.h"

namespace korval {

MainWindowTest::MainWindowTest() {
  SetMessagePolicy({});
  // The ini file holds the settings; another instance never takes the window's start.
  program.WriteFile(L"use.ini", "");
  // New names while typing are off: the tests check the names at moments a live preview could come
  // between; the tests of the live names switch them on.
  program.WriteFile(L"korvalith.ini", "[Base]\r\nmultiple=1\r\n_count=5\r\n_version=4231201\r\nlivepreview=0\r\n");
  static const bool registered = RegisterMainWindowClass(GetModuleHandleW(nullptr));
  EXPECT_TRUE(registered);
  accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
}

MainWindowTest::~MainWindowTest() { Close(); }

void MainWindowTest::Open(const std::vector<std::wstring>& arguments) {
  WindowStart start;
  start.programFolder = program.Path();
  start.askFirstStart = false;
  start.registryKey = registryKey.c_str();
  start.arguments = {L"korvalith.exe"};
  start.arguments.insert(start.arguments.end(), arguments.begin(), arguments.end());
  start.commandLine = ParseCommandLine(start.arguments, L"", LocalDateTime{2026, 12, 8, 9, 0, 0});
  SetMessagePolicy(MessagePolicyOf(start.commandLine));
  window = CreateMainWindow(GetModuleHandleW(nullptr), &start, false);
  ASSERT_NE(nullptr, window);
  Work().registry = &registry;
  ShowWindow(window, SW_SHOW);
  // Timer 1500 finishes the set-up (entering COM on its way) and starts timer 1504, which reads the
  // arguments 100 ms later; on a loaded machine the first can come late.
  ASSERT_TRUE(WaitFor([this] { return Parts().argumentsRead; }, "the set-up and the command line's paths (timers 1500, 1504)"));
  FocusList();
}

void MainWindowTest::Close() {
  if (window && IsWindow(window)) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    Pump(20);
  }
  window = nullptr;
  focused_ = nullptr;
  SetMessagePolicy({});
}

void MainWindowTest::Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (window && TranslateAcceleratorW(window, accelerators, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

bool MainWindowTest::WaitFor(const std::function<bool()>& done, const char* what, int limitMs) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(limitMs);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) {
      ADD_FAILURE() << "waited " << limitMs << " ms for " << what;
      return false;
    }
    Pump(5);
  }
  return true;
}

bool MainWindowTest::Settle() {
  return WaitFor([this] { return !window || !IsWindow(window) || !Work().busy; }, "the busy flag to clear (timer 1501)");
}

void MainWindowTest::Key(UINT vk, bool ctrl, bool shift, bool alt) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_MENU] = alt ? 0x80 : 0;
  SetKeyboardState(keys);
  // Another test program may have taken the activation meanwhile, and the focus with it: a person
  // would click back into the window, and the key goes where the focus was.
  if (!GetFocus() && focused_ && IsWindow(focused_)) SetFocus(focused_);
  HWND target = GetFocus() ? GetFocus() : window;
  PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, alt ? (1 | (1 << 29)) : 1);
  Pump(30);
  if (GetFocus()) focused_ = GetFocus();
  keys[VK_CONTROL] = keys[VK_SHIFT] = keys[VK_MENU] = 0;
  SetKeyboardState(keys);
}

void MainWindowTest::Click(int controlId) {
  SendMessageW(Parts().Item(controlId), BM_CLICK, 0, 0);
  Pump(10);
}

void MainWindowTest::Drop(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& path : paths) list += path + L'\0';
  list += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

void MainWindowTest::FocusList() {
  SetFocus(Parts().list);
  focused_ = Parts().list;
}

bool MainWindowTest::StepToMode(int mode, bool back) {
  for (int step = 0; step < kModeCount && Work().Mode() != mode; ++step) Key(back ? VK_LEFT : VK_RIGHT, false, false, true);
  if (Work().Mode() == mode) return true;
  ADD_FAILURE() << "Alt+" << (back ? "left" : "right") << " did not reach mode " << mode << "; the window shows mode "
                << Work().Mode();
  return false;
}

Workspace& MainWindowTest::Work() const { return StateOf(window)->work; }
Frame& MainWindowTest::Parts() const { return StateOf(window)->frame; }

std::wstring MainWindowTest::Text(int controlId) const {
  wchar_t text[256] = L"";
  GetWindowTextW(Parts().Item(controlId), text, 256);
  return text;
}

void MainWindowTest::SaveAllAndReadBack(const std::wstring& csv) {
  {
    DialogAnswers answer;
    answer.Expect(L"the save dialog", ChooseFileInDialog(csv, 0));
    SendMessageW(window, WM_COMMAND, IDM_SAVE_ALL, 0);
  }
  SendMessageW(window, WM_COMMAND, IDM_CLEAR_LIST, 0);
  ASSERT_EQ(L"", Rows());
  DialogAnswers answer;
  answer.Expect(L"the open dialog", ChooseFileInDialog(csv));
  SendMessageW(window, WM_COMMAND, IDM_OPEN_CSV, 0);
}

std::wstring MainWindowTest::Rows() const {
  std::wstring rows;
  for (const RenameItem& row : Work().list.Rows()) rows += row.oldName + L">" + row.newName + L"|";
  return rows;
}

DialogAnswers::Answer ChooseFileInDialog(const std::wstring& path, int format) {
  return [path, format](HWND dialog) {
    HWND name = GetDlgItem(dialog, 0x480);  // edt1
    if (!name) name = GetDlgItem(dialog, 0x47C);  // cmb13
    HWND layout = format >= 0 ? FindWindowExW(dialog, nullptr, L"#32770", nullptr) : nullptr;
    if (!name || (format >= 0 && !(layout && HasControl(layout, IDC_CSV_FORMAT)))) return false;
    if (layout) SendDlgItemMessageW(layout, IDC_CSV_FORMAT, CB_SETCURSEL, format, 0);
    SetWindowTextW(name, path.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return true;
  };
}

}  // namespace korval
