// The in-process editor driver for tests.
#include "testing/editor_driver.h"

#include <commctrl.h>

#include "macroedit/editor_window.h"

namespace korval {
namespace {

constexpr DWORD kStartPump = 150;
constexpr DWORD kButtonQuiet = 110;

}  // namespace

EditorDriver::EditorDriver(const std::wstring& folder, std::vector<std::wstring> arguments)
    : folder_(folder), arguments_(std::move(arguments)) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterEditorWindowClass(instance)) return;
  const EditorStart start{folder_, arguments_};
  window_ = CreateEditorWindow(instance, start);
  Pump(kStartPump);
}

EditorDriver::~EditorDriver() {
  if (Open()) {
    State().modified = 0;
    DestroyWindow(window_);
  }
  // The window's quit message must not end a later message loop of the test.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

EditorState& EditorDriver::State() const { return *EditorStateOf(window_); }

void EditorDriver::Pump(DWORD milliseconds) const {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

void EditorDriver::Command(int id) const {
  SendMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  Pump(10);
}

void EditorDriver::Click(int id) const {
  Sleep(kButtonQuiet);
  HWND dialog = State().dialog;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  Pump(10);
}

void EditorDriver::SetText(int controlId, const std::wstring& text) const {
  SetDlgItemTextW(State().dialog, controlId, text.c_str());
  Pump(10);
}

void EditorDriver::Check(int controlId, bool checked) const {
  CheckDlgButton(State().dialog, controlId, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EditorDriver::SelectListItem(int controlId, int index) const {
  HWND dialog = State().dialog;
  SendDlgItemMessageW(dialog, controlId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

void EditorDriver::Wheel(int controlId, int delta) const {
  RECT r;
  GetWindowRect(GetDlgItem(State().dialog, controlId), &r);
  const LPARAM point = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(State().dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), point);
}

void EditorDriver::SelectRows(std::initializer_list<int> rows) const {
  HWND list = State().list;
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::vector<std::wstring> EditorDriver::Column(int column) const {
  HWND list = State().list;
  std::vector<std::wstring> texts;
  const int count = ListView_GetItemCount(list);
  for (int row = 0; row < count; ++row) {
    wchar_t text[300] = L"";
    ListView_GetItemText(list, row, column, text, 300);
    texts.emplace_back(text);
  }
  return texts;
}

void EditorDriver::AnswerSaveName(int slotIndex, const std::wstring& name, bool ok) const {
  State().askSaveName = [slotIndex, name, ok](SaveNameData& data) {
    data.slotIndex = slotIndex;
    data.name = name;
    return ok;
  };
}

void EditorDriver::AnswerReduce(int maxmultirep, bool ok) const {
  State().askReduce = [maxmultirep, ok](ReduceData& data) {
    data.maxmultirep = maxmultirep;
    return ok;
  };
}

bool EditorDriver::Close() {
  SendMessageW(window_, WM_CLOSE, 0, 0);
  Pump(10);
  return !Open();
}

}  // namespace korval
