// The macro editor's top-level window: it owns the editor's state, holds the main dialog and the
// status bar, runs the deferred start-up and asks before it closes.
#include "macroedit/editor_window.h"

#include <commctrl.h>

#include <memory>

#include "macro/macro_file.h"
#include "macroedit/editor_command_line.h"
#include "macroedit/editor_commands.h"
#include "macroedit/editor_message.h"
#include "macroedit/editor_placement.h"
#include "macroedit/editor_state.h"
#include "macroedit/main_dialog.h"
#include "macroedit/reduce_dialog.h"
#include "macroedit/save_name_dialog.h"
#include "macroedit/slot_commands.h"
#include "macroedit/step_list_view.h"
#include "macroedit/window_commands.h"
#include "platform/dpi.h"
#include "platform/window_class.h"
#include "resources/macroedit_resource.h"

namespace korval {
namespace {

constexpr UINT kSetUpDelay = 35;

struct CreateParams {
  const EditorStart* start;
};

bool OnCreate(HWND hwnd, const EditorStart& start) {
  auto state = std::make_unique<EditorState>();
  state->window = hwnd;
  state->dpi = WindowDpi(hwnd);
  state->programFolder = start.programFolder;
  state->store = ChooseEditorStore(start.programFolder);
  LoadEditorSettings(state->store, state->settings);
  state->names = ReadMacroList(start.programFolder, MacroProgram::Editor);
  state->slot = SlotFromArguments(start.arguments);
  state->accelerators = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_EDITOR));
  state->askSaveName = [hwnd](SaveNameData& data) { return ShowSaveNameDialog(hwnd, &data); };
  state->askReduce = [hwnd](ReduceData& data) { return ShowReduceDialog(hwnd, &data); };
  SetEditorMessageOwner(hwnd);

  RECT desktop{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
  const EditorSettings& s = state->settings;
  const RECT place = PlaceEditorWindow(s.wleft, s.wtop, s.wwidth, s.wheight, desktop, state->dpi);
  SetWindowPos(hwnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);

  state->statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  if (s.statusBar) ShowWindow(state->statusBar, SW_SHOW);
  CheckMenuItem(GetMenu(hwnd), IDM_STATUS_BAR, MF_BYCOMMAND | (s.statusBar ? MF_CHECKED : MF_UNCHECKED));
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.get()));
  if (!CreateMainDialog(*state)) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return false;
  }
  // The status bar takes the dialog's font, which the template made for the window's DPI.
  SendMessageW(state->statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(state->templateFont), FALSE);
  FitMainDialog(*state);
  state.release();
  SetTimer(hwnd, kTimerSetUp, kSetUpDelay, nullptr);
  return true;
}

// The deferred part of the start: topmost, the sample box, the slot asked for and the stored mode.
void FinishStart(EditorState& state) {
  ApplyTopmost(state);
  FitMainDialog(state);
  state.sampleFixed = false;
  const int slot = state.slot;
  state.slot = 1;
  LoadSlotIntoList(state, slot);
  SelectMode(state, state.settings.panel.mode);
}

void OnTimer(EditorState& state, UINT_PTR id) {
  KillTimer(state.window, id);
  if (id == kTimerSetUp) FinishStart(state);
  if (id == kTimerIdentityMap) state.position.map = IdentityPositionMap();
}

LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  EditorState* state = EditorStateOf(hwnd);
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      return OnCreate(hwnd, *static_cast<const EditorStart*>(create->lpCreateParams)) ? 0 : -1;
    }
    case WM_SIZE:
      if (state && state->dialog) FitMainDialog(*state);
      return 0;
    case WM_TIMER:
      if (state) OnTimer(*state, wParam);
      return 0;
    case WM_DPICHANGED:
      if (state) {
        RescaleMainDialog(*state, HIWORD(wParam));
        const auto* r = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER | SWP_NOACTIVATE);
        FitMainDialog(*state);
      }
      return 0;
    case WM_COMMAND:
      if (state) DispatchEditorCommand(*state, LOWORD(wParam), false);
      return 0;
    case WM_CLOSE:
      if (state) {
        RememberColumnWidths(state->list, state->settings);
        if (!PrepareToClose(*state)) return 0;
      }
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      if (state) {
        SetEditorMessageOwner(nullptr);
        if (state->accelerators) DestroyAcceleratorTable(state->accelerators);
        if (state->dialogFont) DeleteObject(state->dialogFont);
        delete state;
      }
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool RegisterEditorWindowClass(HINSTANCE instance) {
  if (!RegisterTopLevelClass(instance, kEditorWindowClass, EditorWindowProc, IDI_MACROEDIT)) {
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  return true;
}

HWND CreateEditorWindow(HINSTANCE instance, const EditorStart& start) {
  HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDM_EDITOR_MENU));
  const int dpi = WindowDpi(nullptr);
  return CreateWindowExW(0, kEditorWindowClass, kEditorTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                         CW_USEDEFAULT, ScaleToDpi(kEditorMaxDefaultWidth, dpi), ScaleToDpi(kEditorDefaultHeight, dpi),
                         nullptr, menu, instance, const_cast<EditorStart*>(&start));
}

EditorState* EditorStateOf(HWND window) {
  return reinterpret_cast<EditorState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int RunEditorMessageLoop(HWND window) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    const EditorState* state = IsWindow(window) ? EditorStateOf(window) : nullptr;
    if (state && state->accelerators && TranslateAcceleratorW(window, state->accelerators, &msg)) continue;
    if (state && state->dialog && IsDialogMessageW(state->dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace korval
